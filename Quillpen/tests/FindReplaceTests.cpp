// Find, find next and replace through the real common dialogs, the dialog's own keys, and
// plain-text paste.
#include "FrameFixture.h"

#include "TestSupport/WindowDriver.h"

#include <vector>

using namespace Orvane::Quillpen;

namespace {

// Control identifiers of the system's find and replace dialogs.
constexpr int kFindEdit = 0x480;
constexpr int kReplaceEdit = 0x481;
constexpr int kReplaceButton = 0x400;
constexpr int kReplaceAllButton = 0x401;

// Records WM_SETREDRAW reaching the view.
std::vector<WPARAM> g_redraws;
WNDPROC g_viewProc = nullptr;
LRESULT CALLBACK RecordRedraw(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SETREDRAW)
        g_redraws.push_back(wParam);
    return ::CallWindowProcW(g_viewProc, window, msg, wParam, lParam);
}

class FindTest : public FrameTest {
protected:
    HWND OpenDialog(int command)
    {
        Command(command);
        HWND dialog = View().FindDialogWindow();
        EXPECT_TRUE(dialog && ::IsWindow(dialog));
        return dialog;
    }
    void Press(HWND dialog, int button)
    {
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
        Pump();
    }
    void WatchRedraw()
    {
        g_redraws.clear();
        g_viewProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(View().m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordRedraw)));
    }
    void StopWatching()
    {
        ::SetWindowLongPtrW(View().m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_viewProc));
    }
};

TEST_F(FindTest, FindNextSelectsAndStopsAtTheEnd)
{
    SetText(L"one two one two");
    PlaceCaret(0);
    HWND dialog = OpenDialog(ID_EDIT_FIND);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(View().FindDialogIsFind());
    ::SetDlgItemTextW(dialog, kFindEdit, L"two");
    Press(dialog, IDOK);
    CHARRANGE found = View().GetSel();
    EXPECT_EQ(found.cpMin, 4);
    EXPECT_EQ(found.cpMax, 7);
    Command(ID_EDIT_REPEAT);
    found = View().GetSel();
    EXPECT_EQ(found.cpMin, 12);
    // Nothing further down: the selection stays (and the search never wraps around).
    Command(ID_EDIT_REPEAT);
    found = View().GetSel();
    EXPECT_EQ(found.cpMin, 12);
    EXPECT_EQ(found.cpMax, 15);
    // Ctrl+R replaces the Find dialog by a Replace dialog.
    HWND replace = OpenDialog(ID_EDIT_REPLACE);
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_FALSE(View().FindDialogIsFind());
    EXPECT_TRUE(::IsWindow(replace));
}

TEST_F(FindTest, ReplaceAllDoublingEndsAndRedrawComesBack)
{
    SetText(L"a-b-a-aa");
    PlaceCaret(0);
    HWND dialog = OpenDialog(ID_EDIT_REPLACE);
    ASSERT_TRUE(dialog);
    ::SetDlgItemTextW(dialog, kFindEdit, L"a");
    ::SetDlgItemTextW(dialog, kReplaceEdit, L"aa");
    WatchRedraw();
    Press(dialog, kReplaceAllButton);
    EXPECT_EQ(Text(), L"aa-b-aa-aaaa");
    ASSERT_FALSE(g_redraws.empty());
    EXPECT_EQ(g_redraws.back(), static_cast<WPARAM>(TRUE));

    // Nothing to replace: redrawing is switched back on all the same.
    g_redraws.clear();
    PlaceCaret(0);
    ::SetDlgItemTextW(dialog, kFindEdit, L"zzz");
    Press(dialog, kReplaceAllButton);
    StopWatching();
    EXPECT_EQ(Text(), L"aa-b-aa-aaaa");
    ASSERT_FALSE(g_redraws.empty());
    EXPECT_EQ(g_redraws.back(), static_cast<WPARAM>(TRUE));
}

TEST_F(FindTest, ReplaceOnlyReplacesAMatchingSelection)
{
    SetText(L"Cat cat");
    PlaceCaret(0);
    HWND dialog = OpenDialog(ID_EDIT_REPLACE);
    ASSERT_TRUE(dialog);
    ::SetDlgItemTextW(dialog, kFindEdit, L"cat");
    ::SetDlgItemTextW(dialog, kReplaceEdit, L"dog");
    // The first press finds "Cat" (no match case); the second replaces it and finds the next.
    Press(dialog, kReplaceButton);
    EXPECT_EQ(Text(), L"Cat cat");
    CHARRANGE found = View().GetSel();
    EXPECT_EQ(found.cpMin, 0);
    EXPECT_EQ(found.cpMax, 3);
    Press(dialog, kReplaceButton);
    EXPECT_EQ(Text(), L"dog cat");
    found = View().GetSel();
    EXPECT_EQ(found.cpMin, 4);
}

TEST_F(FindTest, KeysTypedInTheFindDialogStayThere)
{
    SetText(L"document");
    PlaceCaret(8);
    ASSERT_TRUE(::OpenClipboard(Frame().m_hWnd));
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, 8);
    memcpy(::GlobalLock(memory), "PASTED", 7);
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();

    HWND dialog = OpenDialog(ID_EDIT_FIND);
    ASSERT_TRUE(dialog);
    HWND edit = ::GetDlgItem(dialog, kFindEdit);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg{edit, WM_KEYDOWN, 'V', 0x002F0001, 0, {0, 0}};
    EXPECT_TRUE(Loop().PreTranslateMessage(&msg));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    Pump();
    EXPECT_EQ(Text(), L"document");
    // Esc there closes the dialog, which the view then forgets.
    MSG escape{edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {0, 0}};
    EXPECT_TRUE(Loop().PreTranslateMessage(&escape));
    Pump();
    EXPECT_FALSE(::IsWindow(dialog));
    EXPECT_EQ(View().FindDialogWindow(), nullptr);
    // The same keys on the document are the frame's commands.
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Text(), L"documentPASTED");
}

TEST_F(FindTest, PasteInsertsPlainTextOnly)
{
    SetText(L"");
    UINT rtf = ::RegisterClipboardFormatW(L"Rich Text Format");
    ASSERT_TRUE(::OpenClipboard(Frame().m_hWnd));
    ::EmptyClipboard();
    const char rich[] = "{\\rtf1\\ansi {\\b RICH}}";
    HGLOBAL richMemory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(rich));
    memcpy(::GlobalLock(richMemory), rich, sizeof(rich));
    ::GlobalUnlock(richMemory);
    ::SetClipboardData(rtf, richMemory);
    HGLOBAL plain = ::GlobalAlloc(GMEM_MOVEABLE, 6);
    memcpy(::GlobalLock(plain), "plain", 6);
    ::GlobalUnlock(plain);
    ::SetClipboardData(CF_TEXT, plain);
    ::CloseClipboard();
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Text(), L"plain");
}

TEST_F(FrameTest, EditorScreenshot)
{
    SetText(L"# Orvane Quillon configuration file\r# Version 3.0.0.25\r\rRewriteEngine On\r"
            L"RewriteCond %{HTTPS} off\r\tRewriteRule ^/(.*)$ https://example.org/$1 [R=301,L]");
    PlaceCaret(60);
    ::SetWindowPos(Frame().m_hWnd, nullptr, 20, 20, 760, 420, SWP_NOZORDER);
    Pump();
    Screenshot(L"quillpen-editor.bmp");
    EXPECT_TRUE(FrameAlive());
}

}
