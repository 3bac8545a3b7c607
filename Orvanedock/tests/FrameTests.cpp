// The frame in this process: keys of its accelerator table typed into a page do nothing there,
// while ordinary typing reaches the page; a sheet's end clears the selection only while that
// sheet is the frame's.
#include "ExtensionRegistration.h"
#include "MainFrame.h"
#include "ProgramDriver.h"
#include "extension/TestExtension.h"

#include <Framework/Handles.h>
#include <Framework/MessageLoop.h>
#include <Framework/Module.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Orvane::Orvanedock;
using namespace OrvanedockTest;

namespace {

// Offers every queued message to the loop's filters first, as the program's loop does.
void Pump(Framework::CMessageLoop& loop)
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!loop.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

// Pumps as above, but holds back the frame's end-of-sheet messages instead of delivering them.
std::vector<MSG> PumpHoldingSheetEnds(Framework::CMessageLoop& loop, HWND frame)
{
    std::vector<MSG> held;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == frame && msg.message == Orvane::Manager::kSheetClosedMessage) {
            held.push_back(msg);
        } else if (!loop.PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return held;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindById(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (::GetDlgCtrlID(window) == search->id && ::GetParent(window) != nullptr) {
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (std::wstring(name) == L"Edit") {
            search->found = window;
            return FALSE;
        }
    }
    return TRUE;
}

void SetKey(BYTE key, bool down)
{
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[key] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
}

// A key as the loop sees it: WM_KEYDOWN, then the character it makes, then WM_KEYUP.
void Type(HWND window, UINT key, Framework::CMessageLoop& loop)
{
    ::PostMessageW(window, WM_KEYDOWN, key, 1);
    ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    Pump(loop);
}

// The frame shown, with the tests' extension registered for the root, which it selects at start.
struct OrvanedockFrame : ::testing::Test {
    Framework::ComInitialization com;
    ExtensionRegistration page{HKEY_LOCAL_MACHINE, kPageExtension, TestExtensionPath(), L"Orvane", {4}};
    Framework::CMessageLoop loop;
    Framework::MessageLoopRegistration registration{&loop};
    CMainFrame frame;

    void SetUp() override
    {
        ASSERT_TRUE(page.Succeeded());
        ASSERT_NE(nullptr, frame.CreateEx());
        frame.ShowWindow(SW_SHOW);
        Pump(loop);
    }
    void TearDown() override
    {
        if (frame.IsWindow())
            frame.DestroyWindow();
        Pump(loop);
    }
};

// The process tests and the demo driver find the frame and its tree by these names.
TEST(OrvanedockWindows, NamesOfTheTestsAreTheFramesOwn)
{
    EXPECT_STREQ(OrvanedockTest::kFrameClass, Orvane::Orvanedock::kFrameClassName);
    EXPECT_EQ(OrvanedockTest::kTreeId, Orvane::Orvanedock::kTreeControlId);
    EXPECT_STREQ(TestSupport::kOrvanedockCaption, Orvane::Orvanedock::kProgramCaption);
}

TEST_F(OrvanedockFrame, AcceleratorKeysDoNothingInAPageAndTypingReachesIt)
{
    ASSERT_EQ(L"Orvanedock - IIS Web Sites", frame.GetWindowText());

    ChildSearch search{kPageEditId, nullptr};
    ::EnumChildWindows(frame, FindById, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(nullptr, search.found);
    HWND field = search.found;
    ::SetFocus(field);
    ::SetWindowTextW(field, L"text");
    ::SendMessageW(field, EM_SETSEL, 0, -1);

    // Something on the clipboard that a paste would bring in.
    if (::OpenClipboard(frame)) {
        ::EmptyClipboard();
        Framework::ScopedGlobal data(::GlobalAlloc(GMEM_MOVEABLE, sizeof(L"pasted")));
        if (data) {
            std::memcpy(::GlobalLock(data.Get()), L"pasted", sizeof(L"pasted"));
            ::GlobalUnlock(data.Get());
            if (::SetClipboardData(CF_UNICODETEXT, data.Get()))
                data.Release();
        }
        ::CloseClipboard();
    }

    struct Case {
        BYTE modifier;
        UINT key;
    } keys[] = {{VK_CONTROL, 'V'}, {VK_CONTROL, 'X'}, {VK_CONTROL, 'Z'}, {VK_SHIFT, VK_INSERT}, {VK_SHIFT, VK_DELETE}};
    for (const Case& k : keys) {
        SetKey(k.modifier, true);
        Type(field, k.key, loop);
        SetKey(k.modifier, false);
        EXPECT_EQ(L"text", Framework::CWindow(field).GetWindowText()) << k.key;
    }

    // Without a modifier, a key is the page's: the character replaces the selection.
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    Type(field, 'A', loop);
    EXPECT_EQ(L"a", Framework::CWindow(field).GetWindowText());
}

TEST_F(OrvanedockFrame, LateEndOfAReplacedSheetLeavesTheNewSheetAndItsSelection)
{
    HWND tree = FindSiteTree(frame);
    ASSERT_NE(nullptr, tree);
    const HTREEITEM root = TreeView_GetRoot(tree);
    ASSERT_EQ(root, TreeView_GetSelection(tree));
    HWND first = FindSheet(frame);
    ASSERT_NE(nullptr, first);

    // The first sheet ends by Cancel, but its end message is late: the user has gone on to a new
    // selection of the root, with a new sheet, before the frame sees it.
    ::SendMessageW(first, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    std::vector<MSG> late = PumpHoldingSheetEnds(loop, frame);
    ASSERT_EQ(1u, late.size());
    EXPECT_FALSE(::IsWindow(first));
    TreeView_SelectItem(tree, nullptr);
    TreeView_SelectItem(tree, root);
    Pump(loop);
    HWND second = FindSheet(frame);
    ASSERT_NE(nullptr, second);

    ::PostMessageW(frame, late[0].message, late[0].wParam, late[0].lParam);
    Pump(loop);
    EXPECT_EQ(root, TreeView_GetSelection(tree));
    EXPECT_EQ(second, FindSheet(frame));
    EXPECT_EQ(L"Orvanedock - IIS Web Sites", frame.GetWindowText());

    // The current sheet's own end clears the selection and the pane.
    ::SendMessageW(second, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    Pump(loop);
    EXPECT_EQ(nullptr, TreeView_GetSelection(tree));
    EXPECT_FALSE(::IsWindow(second));
    EXPECT_EQ(L"Orvanedock", frame.GetWindowText());
}

}
