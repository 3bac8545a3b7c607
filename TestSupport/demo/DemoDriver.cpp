// Drives Orvanedock for the main job's demo, from beside it as a user would, so that the script
// waits for windows, not for a fixed time:
//   DemoDriver show-root [page]
//                          waits for Orvanedock's frame (answering its "no extensions" warning),
//                          opens the tree's root and first site, selects the root, waits until the
//                          program is idle, and prints what the right pane shows; with "page", waits
//                          for the root's property pages and fails when they do not come.
//   DemoDriver close       closes Orvanedock's frame and waits until its process has ended.
// Exit code 0 on success, 1 when a window did not come in time, 2 on a usage error.
#include "TestSupport/OrvanedockWindows.h"
#include "TestSupport/RemoteMemory.h"
#include "TestSupport/WindowDriver.h"

#include "Framework/Handles.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

using namespace TestSupport;

namespace {

constexpr DWORD kStartTimeoutMs = 120000;
constexpr DWORD kStepTimeoutMs = 30000;

void Say(const std::wstring& text)
{
    std::printf("DemoDriver: %s\n", Narrow(text).c_str());
    std::fflush(stdout);
}

bool IsTree(HWND window) { return ::GetDlgCtrlID(window) == kOrvanedockTreeId && ::IsWindowVisible(window); }
bool IsNoProperties(HWND window) { return _wcsicmp(ClassNameOf(window).c_str(), L"Edit") == 0 && ::IsWindowVisible(window); }

// Waits until the window's thread has handled everything sent before; false when it hangs.
bool WaitIdle(HWND window)
{
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kStepTimeoutMs, &answer) != 0;
}

HTREEITEM TreeItem(HWND tree, UINT code, HTREEITEM from = nullptr)
{
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(from)));
}

// Opens the item with the keyboard, as a user does (the program reads a node's children then).
bool Expand(HWND tree, HTREEITEM item)
{
    return ExpandTreeItemByKey(tree, item, kStepTimeoutMs);
}

// The frame, answering the warning box that the program shows first when no extension is installed.
HWND WaitForFrame()
{
    HWND frame = nullptr;
    WaitUntil(
        [&] {
            HWND box = ::FindWindowW(L"#32770", kOrvanedockCaption);
            if (box && ::IsWindowVisible(box)) {
                Say(L"Orvanedock warns: \"" + ChildTexts(box, L"Static") + L"\"; answering OK");
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                ::Sleep(200);
            }
            frame = ::FindWindowW(kOrvanedockFrameClass, nullptr);
            return frame && ::IsWindowVisible(frame);
        },
        kStartTimeoutMs, false);
    return frame && ::IsWindowVisible(frame) ? frame : nullptr;
}

int ShowRoot(bool expectPage)
{
    HWND frame = WaitForFrame();
    if (!frame) {
        Say(L"Orvanedock's window did not appear");
        return 1;
    }
    HWND tree = FindChild(frame, IsTree);
    HTREEITEM root = tree ? TreeItem(tree, TVGN_ROOT) : nullptr;
    if (!root) {
        Say(L"Orvanedock's window has no tree root");
        return 1;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(frame, &processId);
    Framework::ScopedHandle process(
        ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE, processId));
    const std::wstring rootText = process ? RemoteTreeItemText(process.Get(), tree, root) : std::wstring();

    // The sites below the root, and the first site's applications and folders.
    if (Expand(tree, root)) {
        HTREEITEM site = TreeItem(tree, TVGN_CHILD, root);
        if (site && process)
            Say(L"first site: \"" + RemoteTreeItemText(process.Get(), tree, site) + L"\"");
        if (site)
            Expand(tree, site);
    }
    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
    ::SetForegroundWindow(frame);
    ::SetFocus(tree);

    if (TreeItem(tree, TVGN_CARET) != root || !WaitIdle(frame)) {
        Say(L"the tree's root could not be selected");
        return 1;
    }
    // The pane is filled while the selection is handled; a page can still be on its way.
    HWND sheet = nullptr;
    WaitUntil([&] { return (sheet = FindChild(frame, IsShownPropertySheet)) != nullptr; }, expectPage ? kStepTimeoutMs : 0, false);
    if (sheet && WaitIdle(frame)) {
        HWND tab = ::GetDlgItem(sheet, kSheetTabControlId);
        Say(L"\"" + rootText + L"\" selected; its property page \"" +
            (process ? RemoteTabText(process.Get(), tab, 0) : std::wstring()) + L"\" is shown");
        return 0;
    }
    HWND none = FindChild(frame, IsNoProperties);
    if (none)
        Say(L"\"" + rootText + L"\" selected; it shows \"" + WindowText(none) + L"\"");
    else
        Say(L"\"" + rootText + L"\" selected; no property pages");
    return expectPage ? 1 : 0;
}

int Close()
{
    HWND frame = ::FindWindowW(kOrvanedockFrameClass, nullptr);
    if (!frame) {
        Say(L"Orvanedock is not running");
        return 0;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(frame, &processId);
    Framework::ScopedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    ::PostMessageW(frame, WM_CLOSE, 0, 0);
    if (!process || ::WaitForSingleObject(process.Get(), kStepTimeoutMs) != WAIT_OBJECT_0) {
        Say(L"Orvanedock did not end after its window was closed");
        return 1;
    }
    return 0;
}

}

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc >= 2 ? argv[1] : L"";
    const std::wstring option = argc == 3 ? argv[2] : L"";
    if (command == L"show-root" && argc <= 3 && (argc == 2 || option == L"page"))
        return ShowRoot(argc == 3);
    if (command == L"close" && argc == 2)
        return Close();
    std::fprintf(stderr, "usage: DemoDriver show-root [page] | close\n");
    return 2;
}
