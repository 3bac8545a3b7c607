#include "ProgramDriver.h"

#include <TestSupport/RemoteMemory.h>

namespace OrvanedockTest {

using namespace TestSupport;

std::wstring ProgramPath()
{
    return BuildFolder() + L"\\bin\\Orvanedock.exe";
}

HWND FindChildById(HWND parent, int id)
{
    return FindChild(parent, [id](HWND w) { return ::GetDlgCtrlID(w) == id; });
}

HWND FindSiteTree(HWND frame)
{
    // The site tree view with its id: a page may hold a control of the same id.
    return FindChild(frame, [](HWND w) { return ::GetDlgCtrlID(w) == kTreeId && ClassNameOf(w) == kTreeClass; });
}

HWND FindSheet(HWND frame)
{
    return FindChild(frame, TestSupport::IsShownPropertySheet);
}

RECT WindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect;
}

int Width(HWND window)
{
    RECT rect = WindowRect(window);
    return rect.right - rect.left;
}

void SaveScreenshot(HWND window, const wchar_t* name)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
    ::Sleep(500);
    ::CreateDirectoryW((BuildFolder() + L"\\screenshots").c_str(), nullptr);
    SaveWindowScreenshot(window, BuildFolder() + L"\\screenshots\\" + name);
}

Program::~Program()
{
    if (frame && ::IsWindow(frame))
        ::PostMessageW(frame, WM_CLOSE, 0, 0);
    if (process.Wait(10000) == STILL_ACTIVE)
        process.Terminate();
}

bool Program::Start(bool expectWarning)
{
    if (!process.Start(ProgramPath(), L""))
        return false;
    if (expectWarning) {
        HWND box = WaitForTopWindow(process.ProcessId(), L"#32770", L"Orvanedock", kTimeoutMs);
        if (!box)
            return false;
        warning = TestSupport::ChildTexts(box, L"Static");
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    frame = WaitForTopWindow(process.ProcessId(), kFrameClass, nullptr, kTimeoutMs);
    if (!frame)
        return false;
    tree = FindSiteTree(frame);
    return tree != nullptr;
}

HTREEITEM Program::Item(UINT code, HTREEITEM from) const
{
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(from)));
}

std::wstring Program::ItemText(HTREEITEM item) const
{
    return RemoteTreeItemText(process.Handle(), tree, item);
}

std::vector<std::string> Program::ChildTexts(HTREEITEM item) const
{
    std::vector<std::string> texts;
    for (HTREEITEM child = Item(TVGN_CHILD, item); child; child = Item(TVGN_NEXT, child))
        texts.push_back(Narrow(ItemText(child)));
    return texts;
}

HTREEITEM Program::ChildNamed(HTREEITEM item, const std::wstring& name) const
{
    for (HTREEITEM child = Item(TVGN_CHILD, item); child; child = Item(TVGN_NEXT, child))
        if (ItemText(child) == name)
            return child;
    return nullptr;
}

bool Program::Select(HTREEITEM item) const
{
    return ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

void Program::ExpandByKey(HTREEITEM item) const
{
    ExpandTreeItemByKey(tree, item, kTimeoutMs);
}

std::wstring Program::Title() const
{
    return WindowText(frame);
}

bool Program::WaitForTitle(const std::wstring& title) const
{
    return WaitUntil([&] { return Title() == title; }, kTimeoutMs, false);
}

HWND Program::Sheet() const
{
    return FindSheet(frame);
}

HWND Program::NoProperties() const
{
    return FindChild(frame, [](HWND w) { return ClassNameOf(w) == L"Edit" || ClassNameOf(w) == L"EDIT"; });
}

}
