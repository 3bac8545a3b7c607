#pragma once
// Orvanedock.exe started as its own process and driven from the test's process, as a user would:
// the frame found by its class, tree items read in the program's memory, nodes selected and
// expanded, the hosted property sheet found among the frame's children.
#include <TestSupport/OrvanedockWindows.h>
#include <TestSupport/WindowDriver.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace OrvanedockTest {

constexpr DWORD kTimeoutMs = 20000;
constexpr const wchar_t* kFrameClass = TestSupport::kOrvanedockFrameClass;
constexpr int kTreeId = TestSupport::kOrvanedockTreeId;
constexpr wchar_t kTreeClass[] = L"Orvanedock.SiteTreeView";

// The built program.
std::wstring ProgramPath();

// A descendant with the control id, or null.
HWND FindChildById(HWND parent, int id);
// The frame's site tree, or null.
HWND FindSiteTree(HWND frame);
// The property sheet shown in the frame's right pane, or null.
HWND FindSheet(HWND frame);
RECT WindowRect(HWND window);
int Width(HWND window);
// Paints the window (the program paints from its own loop) and saves it into the build's
// screenshots folder.
void SaveScreenshot(HWND window, const wchar_t* name);

// The running program, closed by its window and else ended by its handle when the object goes.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the program; answers the warning box about missing extensions when expected.
    bool Start(bool expectWarning);

    HTREEITEM Item(UINT code, HTREEITEM from = nullptr) const;
    std::wstring ItemText(HTREEITEM item) const;
    // The texts of the item's children, in the tree's order.
    std::vector<std::string> ChildTexts(HTREEITEM item) const;
    HTREEITEM ChildNamed(HTREEITEM item, const std::wstring& name) const;
    bool Select(HTREEITEM item) const;
    // Expands the selected item with the keyboard, as a user does.
    void ExpandByKey(HTREEITEM item) const;
    std::wstring Title() const;
    bool WaitForTitle(const std::wstring& title) const;
    // The property sheet in the right pane, or null.
    HWND Sheet() const;
    HWND NoProperties() const;

    TestSupport::ChildProcess process;
    HWND frame = nullptr;
    HWND tree = nullptr;
    std::wstring warning;
};

}
