// The splitter's bar and panes, the tree-view wrapper, and the modeless property sheet's ownership
// of its pages.
#include "Framework/PropertySheet.h"
#include "Framework/Splitter.h"
#include "Framework/WindowImpl.h"
#include "Framework/TreeView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Framework;

namespace {

constexpr int kTestPageId = 101;

HWND MakeHost(int width, int height)
{
    RECT rect{0, 0, width, height};
    ::AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    return ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, rect.right - rect.left,
                             rect.bottom - rect.top, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

RECT ChildRect(HWND child)
{
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

TEST(Splitter, PositionIsClampedAndPanesFollowTheBar)
{
    HWND host = MakeHost(400, 200);
    ASSERT_NE(nullptr, host);
    CSplitterWindow splitter;
    RECT area{0, 0, 400, 200};
    ASSERT_NE(nullptr, splitter.Create(host, &area, nullptr, WS_CHILD | WS_VISIBLE));
    splitter.SetSplitterExtendedStyle(0);
    HWND left = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, splitter, nullptr, nullptr, nullptr);
    HWND right = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1, splitter, nullptr, nullptr, nullptr);
    splitter.SetSplitterPanes(left, right);

    const int bar = splitter.GetBarWidth();
    struct Case {
        int asked;
        int expected;
    } cases[] = {{120, 120}, {-40, 0}, {0, 0}, {5000, 400 - bar}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, splitter.SetSplitterPos(c.asked)) << c.asked;
        RECT l = ChildRect(left), r = ChildRect(right);
        EXPECT_EQ(c.expected, l.right - l.left) << c.asked;
        EXPECT_EQ(c.expected + bar, r.left) << c.asked;
        EXPECT_EQ(400, r.right) << c.asked;
        EXPECT_GE(r.right - r.left, 0) << c.asked;
    }

    // Without the proportional style the bar stays where it is when the splitter grows or shrinks.
    splitter.SetSplitterPos(150);
    ::SetWindowPos(splitter, nullptr, 0, 0, 300, 200, SWP_NOZORDER);
    EXPECT_EQ(150, splitter.GetSplitterPos());
    // With it, the bar keeps its share.
    splitter.SetSplitterExtendedStyle(SPLIT_PROPORTIONAL);
    ::SetWindowPos(splitter, nullptr, 0, 0, 600, 200, SWP_NOZORDER);
    EXPECT_EQ(300, splitter.GetSplitterPos());
    // Shrinking below the bar never gives a negative position.
    splitter.SetSplitterExtendedStyle(0);
    ::SetWindowPos(splitter, nullptr, 0, 0, 2, 200, SWP_NOZORDER);
    EXPECT_EQ(0, splitter.GetSplitterPos());
    ::DestroyWindow(host);
}

TEST(TreeView, ItemTextsOfAnyLengthAndNavigation)
{
    HWND host = MakeHost(300, 300);
    ASSERT_NE(nullptr, host);
    CTreeViewCtrl tree(::CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 300, 300, host, nullptr,
                                         nullptr, nullptr));
    ASSERT_NE(nullptr, tree.m_hWnd);
    const std::wstring longText(700, L'x');
    HTREEITEM root = tree.InsertItem(L"root", 0, 0, TVI_ROOT, TVI_LAST);
    HTREEITEM b = tree.InsertItem(L"b", 1, 1, root, TVI_SORT);
    HTREEITEM a = tree.InsertItem(longText.c_str(), 1, 1, root, TVI_SORT);
    ASSERT_TRUE(root && a && b);
    EXPECT_EQ(root, tree.GetRootItem());
    EXPECT_EQ(b, tree.GetChildItem(root)) << "sorted: \"b\" before \"xxx...\"";
    EXPECT_EQ(a, tree.GetNextSiblingItem(b));
    EXPECT_EQ(longText, tree.GetItemText(a));
    EXPECT_EQ(3u, tree.GetCount());
    EXPECT_TRUE(tree.SelectItem(b));
    EXPECT_EQ(b, tree.GetSelectedItem());
    EXPECT_TRUE(tree.DeleteItem(b));
    EXPECT_EQ(a, tree.GetChildItem(root));
    ::DestroyWindow(host);
}

// Pages whose release the test counts.
int g_released = 0;
UINT CALLBACK CountRelease(HWND, UINT message, PROPSHEETPAGEW*)
{
    if (message == PSPCB_RELEASE)
        ++g_released;
    return 1;
}
INT_PTR CALLBACK PageProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}
HPROPSHEETPAGE MakePage()
{
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_USECALLBACK;
    page.hInstance = ::GetModuleHandleW(nullptr);
    page.pszTemplate = MAKEINTRESOURCEW(kTestPageId);
    page.pfnDlgProc = PageProc;
    page.pfnCallback = CountRelease;
    return ::CreatePropertySheetPageW(&page);
}

class ChildSheet : public CPropertySheetWindow {
public:
    int preCreates = 0;

protected:
    int OnSheetCallback(HWND, UINT message, LPARAM lParam) override
    {
        if (message == PSCB_PRECREATE) {
            ++preCreates;
            ChangeTemplateStyle(lParam, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_CHILD);
        }
        return 0;
    }
};

TEST(ModelessSheet, PagesThatNeverReachAWindowAreDestroyedWithTheSheet)
{
    g_released = 0;
    {
        CPropertySheetWindow sheet;
        EXPECT_EQ(E_INVALIDARG, sheet.AddPage(nullptr));
        HPROPSHEETPAGE first = MakePage();
        ASSERT_NE(nullptr, first);
        ASSERT_EQ(S_OK, sheet.AddPage(first));
        ASSERT_EQ(S_OK, sheet.AddPage(MakePage()));
        EXPECT_EQ(S_OK, sheet.RemovePage(first));
        EXPECT_EQ(E_INVALIDARG, sheet.RemovePage(first));
        EXPECT_EQ(1u, sheet.PendingPageCount());
        ::DestroyPropertySheetPage(first); // removed pages are the caller's again
        EXPECT_EQ(1, g_released);
    }
    EXPECT_EQ(2, g_released);
}

class EndingSheet : public ChildSheet {
public:
    int finished = 0;

protected:
    void OnFinished() override { ++finished; }
};

TEST(ModelessSheet, IsAChildAndDestroysItselfAfterOkOrCancel)
{
    HWND host = MakeHost(500, 400);
    ASSERT_NE(nullptr, host);
    struct Case {
        const char* what;
        UINT msg;
        WPARAM wParam;
    } cases[] = {
        {"Cancel pressed", PSM_PRESSBUTTON, PSBTN_CANCEL},
        {"OK pressed", PSM_PRESSBUTTON, PSBTN_OK},
        {"Cancel command (Escape in a page)", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
    };
    for (const Case& c : cases) {
        g_released = 0;
        {
            EndingSheet sheet;
            ASSERT_EQ(S_OK, sheet.AddPage(MakePage()));
            HWND window = sheet.Create(host);
            ASSERT_NE(nullptr, window) << c.what;
            EXPECT_EQ(1, sheet.preCreates);
            EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
            EXPECT_FALSE(::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION);
            EXPECT_EQ(0u, sheet.PendingPageCount());
            // Other buttons and messages do not end it.
            ::SendMessageW(window, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
            ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(12345, BN_CLICKED), 0);
            Pump();
            EXPECT_FALSE(sheet.IsFinished()) << c.what;
            EXPECT_TRUE(::IsWindow(window)) << c.what;

            ::SendMessageW(window, c.msg, c.wParam, 0);
            EXPECT_TRUE(sheet.IsFinished()) << c.what;
            EXPECT_EQ(1, sheet.finished) << c.what;
            Pump();
            EXPECT_FALSE(::IsWindow(window)) << c.what << ": the sheet destroyed its window";
            EXPECT_FALSE(sheet.IsWindow()) << c.what;
            EXPECT_EQ(1, sheet.finished) << c.what << ": reported once";
            EXPECT_EQ(1, g_released) << c.what << ": the window released its page";
        }
        EXPECT_EQ(1, g_released) << c.what << ": not a second time";
    }
    ::DestroyWindow(host);
}

TEST(ModelessSheet, FailedCreationGivesNoWindowAndReleasesEachPageOnce)
{
    g_released = 0;
    {
        CPropertySheetWindow sheet;
        ASSERT_EQ(S_OK, sheet.AddPage(MakePage()));
        ASSERT_EQ(S_OK, sheet.AddPage(MakePage()));
        // A parent handle that names no window makes the sheet's dialog creation fail.
        EXPECT_EQ(nullptr, sheet.Create(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0)))) ;
        EXPECT_FALSE(sheet.IsWindow());
        EXPECT_EQ(0u, sheet.PendingPageCount());
    }
    EXPECT_EQ(2, g_released);
}

TEST(ModelessSheet, TemplateStyleChangesInBothLayouts)
{
    const DWORD remove = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    const DWORD add = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
    struct Case {
        DWORD style;
        DWORD expected;
    } cases[] = {
        {remove | DS_SETFONT, add | DS_SETFONT},
        // Only some of the bits: the others of the style stay as they are.
        {WS_POPUP | DS_3DLOOK, add | DS_3DLOOK},
        {DS_CONTEXTHELP, add | DS_CONTEXTHELP},
    };
    for (const Case& c : cases) {
        DLGTEMPLATE plain{};
        plain.style = c.style;
        CPropertySheetWindow::ChangeTemplateStyle(reinterpret_cast<LPARAM>(&plain), remove, add);
        EXPECT_EQ(c.expected, plain.style) << std::hex << c.style;

        struct {
            WORD version, signature;
            DWORD helpId, exStyle, style;
        } extended{1, 0xFFFF, 7, WS_EX_CONTROLPARENT, c.style};
        CPropertySheetWindow::ChangeTemplateStyle(reinterpret_cast<LPARAM>(&extended), remove, add);
        EXPECT_EQ(c.expected, extended.style) << std::hex << c.style;
        EXPECT_EQ(static_cast<DWORD>(WS_EX_CONTROLPARENT), extended.exStyle);
        EXPECT_EQ(7u, extended.helpId);
    }
}

}

namespace {

// Notification handlers keyed by the system's code constants, which are expressions.
class CNotifyWindow : public CWindowImpl<CNotifyWindow> {
public:
    FW_DECLARE_WND_CLASS(L"Framework.NotifyWindow")
    std::vector<std::string> log;
    FW_BEGIN_MSG_MAP(CNotifyWindow)
        FW_NOTIFY_HANDLER(7, TVN_SELCHANGEDW, OnSelection)
        FW_NOTIFY_CODE_HANDLER(NM_CLICK, OnClick)
    FW_END_MSG_MAP()
    LRESULT OnSelection(int, NMHDR*, bool&)
    {
        log.push_back("selection");
        return 5;
    }
    LRESULT OnClick(int id, NMHDR*, bool&)
    {
        log.push_back("click" + std::to_string(id));
        return 6;
    }
};

LRESULT Notify(HWND window, UINT_PTR id, UINT code)
{
    NMHDR header{nullptr, id, code};
    return ::SendMessageW(window, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

TEST(MessageMap, NotificationsByControlAndCode)
{
    CNotifyWindow window;
    ASSERT_TRUE(window.Create(nullptr, nullptr, L"notify", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(5, Notify(window, 7, TVN_SELCHANGEDW));
    EXPECT_EQ(0, Notify(window, 8, TVN_SELCHANGEDW)) << "another control";
    EXPECT_EQ(6, Notify(window, 8, NM_CLICK));
    EXPECT_EQ((std::vector<std::string>{"selection", "click8"}), window.log);
    window.DestroyWindow();
}

}
