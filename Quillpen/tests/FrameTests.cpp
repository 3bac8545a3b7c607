// The frame: bars, accelerators, title, commands, comment/uncomment, caret, close prompt,
// syntax check and its dialog.
#include "FrameFixture.h"

#include "Strings.h"
#include "Framework/Handles.h"
#include "TestSupport/WindowDriver.h"

#include <commctrl.h>

#include <set>
#include <tuple>
#include <vector>

using namespace Orvane::Quillpen;

namespace {

HWND ToolBarOf(HWND frame) { return ::FindWindowExW(::FindWindowExW(frame, nullptr, REBARCLASSNAMEW, nullptr), nullptr, TOOLBARCLASSNAMEW, nullptr); }

TEST_F(FrameTest, ToolBarInRebarAndStatusPanes)
{
    HWND toolbar = ToolBarOf(Frame().m_hWnd);
    ASSERT_TRUE(toolbar);
    ASSERT_EQ(::SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 5);
    const std::pair<int, std::wstring> expected[] = {
        {ID_APPLY, L" Apply (Ctrl+S)"},       {ID_DISCARD, L" Discard (Ctrl+W)"},
        {ID_REGEXP_TEST, L" RegExp test (Ctrl+T)"}, {ID_COMMENT_OUT, L" Comment out (Ctrl+K)"},
        {ID_UNCOMMENT, L" Uncomment (Ctrl+U)"},
    };
    for (int i = 0; i < 5; ++i) {
        TBBUTTON button{};
        ASSERT_TRUE(::SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(button.idCommand, expected[i].first);
        EXPECT_TRUE(button.fsStyle & BTNS_SHOWTEXT);
        wchar_t text[64] = {};
        ::SendMessageW(toolbar, TB_GETBUTTONTEXTW, button.idCommand, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), expected[i].second);
    }
    RECT bar{};
    ::GetWindowRect(::GetParent(toolbar), &bar);
    EXPECT_GT(bar.bottom - bar.top, 15);
    EXPECT_EQ(Frame().StatusBar().GetPaneText(ID_ROW_PANE), L"Row: 1");
    EXPECT_EQ(Frame().StatusBar().GetPaneText(ID_COL_PANE), L"Col: 1");
    EXPECT_EQ(::GetMenu(Frame().m_hWnd), nullptr);
}

TEST_F(FrameTest, AcceleratorTableHoldsTheSeventeenKeys)
{
    ASSERT_TRUE(Frame().m_hAccel);
    int count = ::CopyAcceleratorTableW(Frame().m_hAccel, nullptr, 0);
    ASSERT_EQ(count, 17);
    std::vector<ACCEL> table(count);
    ::CopyAcceleratorTableW(Frame().m_hAccel, table.data(), count);
    using Key = std::tuple<int, int, int>;
    std::set<Key> actual;
    for (const ACCEL& a : table)
        actual.insert(Key{a.fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), a.key, a.cmd});
    const int V = FVIRTKEY, C = FVIRTKEY | FCONTROL, S = FVIRTKEY | FSHIFT, A = FVIRTKEY | FALT;
    const std::set<Key> expected = {
        {C, 'S', ID_APPLY},           {C, 'W', ID_DISCARD},          {C, 'K', ID_COMMENT_OUT},
        {C, 'T', ID_REGEXP_TEST},     {C, 'U', ID_UNCOMMENT},        {C, 'C', ID_EDIT_COPY},
        {C, VK_INSERT, ID_EDIT_COPY}, {S, VK_DELETE, ID_EDIT_CUT},   {C, 'X', ID_EDIT_CUT},
        {C, 'F', ID_EDIT_FIND},       {C, 'V', ID_EDIT_PASTE},       {S, VK_INSERT, ID_EDIT_PASTE},
        {V, VK_F3, ID_EDIT_REPEAT},   {C, 'R', ID_EDIT_REPLACE},     {C, 'A', ID_EDIT_SELECT_ALL},
        {A, VK_BACK, ID_EDIT_UNDO},   {C, 'Z', ID_EDIT_UNDO},
    };
    EXPECT_EQ(actual, expected);
}

TEST_F(FrameTest, KeysReachTheFrameThroughTheLoop)
{
    SetText(L"one\rtwo");
    PlaceCaret(0);
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    MSG msg{View().m_hWnd, WM_KEYDOWN, 'A', 0x001E0001, 0, {0, 0}};
    EXPECT_TRUE(Loop().PreTranslateMessage(&msg));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    CHARRANGE all = View().GetSel();
    EXPECT_EQ(all.cpMin, 0);
    EXPECT_GE(all.cpMax, 7);
}

TEST_F(FrameTest, TitleFollowsFileAndModifiedFlagAtIdle)
{
    EXPECT_EQ(Caption(), L"Untitled - Orvane Quillpen");
    View().ReplaceSel(L"x", true);
    EXPECT_EQ(Caption(), L"Untitled - Orvane Quillpen");
    Pump();
    EXPECT_EQ(Caption(), L"Untitled* - Orvane Quillpen");
    View().SetSel(0, -1);
    View().SetFileName(L"C:\\a\\httpd.conf", L"httpd.conf");
    Frame().UpdateTitle();
    Pump();
    EXPECT_EQ(Caption(), L"httpd.conf - Orvane Quillpen");
}

TEST_F(FrameTest, EditingCommandsFollowTheUpdateState)
{
    Pump();
    EXPECT_FALSE(Frame().UIIsEnabled(ID_EDIT_SELECT_ALL));
    EXPECT_FALSE(Frame().UIIsEnabled(ID_EDIT_COPY));
    SetText(L"abc def");
    Select(0, 3);
    EXPECT_TRUE(Frame().UIIsEnabled(ID_EDIT_COPY));
    EXPECT_TRUE(Frame().UIIsEnabled(ID_EDIT_UNDO));
    EXPECT_TRUE(Frame().UIIsEnabled(ID_EDIT_FIND));
    Command(ID_EDIT_CLEAR);
    EXPECT_EQ(Text(), L" def");
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), L"abc def");
    Command(ID_EDIT_SELECT_ALL);
    CHARRANGE all = View().GetSel();
    EXPECT_EQ(all.cpMin, 0);
    EXPECT_GE(all.cpMax, 7);
}

struct CommentCase {
    const wchar_t* text;
    long start;
    long end;
    int command;
    const wchar_t* expected;
    long selStart;
    long selEnd;
};

TEST_F(FrameTest, CommentAndUncommentLines)
{
    const CommentCase cases[] = {
        // Empty selection: the caret line, the caret staying on its character.
        {L"a\rRewriteEngine On\rb", 5, 5, ID_COMMENT_OUT, L"a\r#RewriteEngine On\rb", 6, 6},
        {L"a\r#RewriteEngine On\rb", 6, 6, ID_UNCOMMENT, L"a\rRewriteEngine On\rb", 5, 5},
        {L"a\rRewriteEngine On", 4, 4, ID_UNCOMMENT, L"a\rRewriteEngine On", 4, 4},
        // From the start of line 2 to the start of line 5: lines 2, 3 and 4.
        {L"l1\rl2\rl3\rl4\rl5", 3, 12, ID_COMMENT_OUT, L"l1\r#l2\r#l3\r#l4\rl5", 3, 15},
        // A selection from position 0 takes the first line too.
        {L"l1\rl2\rl3", 0, 4, ID_COMMENT_OUT, L"#l1\r#l2\rl3", 0, 6},
        // Starting inside a line leaves that line alone.
        {L"l1\rl2\rl3", 1, 4, ID_COMMENT_OUT, L"l1\r#l2\rl3", 1, 5},
        {L"l1\r#l2\rl3", 0, 5, ID_UNCOMMENT, L"l1\rl2\rl3", 0, 4},
        {L"#a#\r##b\rc", 0, 7, ID_UNCOMMENT, L"a#\r#b\rc", 0, 5},
    };
    for (const CommentCase& c : cases) {
        SetText(c.text);
        Select(c.start, c.end);
        Command(c.command);
        EXPECT_EQ(Text(), c.expected) << c.start << "-" << c.end;
        CHARRANGE selection = View().GetSel();
        EXPECT_EQ(selection.cpMin, c.selStart) << c.start << "-" << c.end;
        EXPECT_EQ(selection.cpMax, c.selEnd) << c.start << "-" << c.end;
    }
}

TEST_F(FrameTest, CommentThenUncommentGivesTheTextBack)
{
    const std::wstring text = L"RewriteEngine On\r#old\r  RewriteRule a b\rlast";
    SetText(text);
    Select(0, 30);
    Command(ID_COMMENT_OUT);
    EXPECT_NE(Text(), text);
    CHARRANGE selection = View().GetSel();
    Select(selection.cpMin, selection.cpMax);
    Command(ID_UNCOMMENT);
    EXPECT_EQ(Text(), text);
    Command(ID_EDIT_UNDO);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), text);
}

TEST_F(FrameTest, CaretRowAndColumnCountTabs)
{
    SetText(L"first\ra\tb\rthird");
    PlaceCaret(9);
    EXPECT_EQ(View().CaretLine(), 1);
    EXPECT_EQ(View().CaretColumn(), 9);
    EXPECT_EQ(Frame().StatusBar().GetPaneText(ID_ROW_PANE), L"Row: 2");
    EXPECT_EQ(Frame().StatusBar().GetPaneText(ID_COL_PANE), L"Col: 10");
    // A selection made backwards still reports the line of its end.
    Select(13, 2);
    EXPECT_EQ(View().CaretLine(), 2);
}

TEST_F(FrameTest, CaretColumnOnALineLongerThanSixteenBits)
{
    std::wstring longLine(70000, L'x');
    SetText(L"short\r" + longLine + L"\rend");
    PlaceCaret(6 + 70000);
    EXPECT_EQ(View().CaretLine(), 1);
    EXPECT_EQ(View().CaretColumn(), 70000);
    EXPECT_EQ(Frame().StatusBar().GetPaneText(ID_COL_PANE), L"Col: 70001");
    PlaceCaret(3);
    EXPECT_EQ(View().CaretLine(), 0);
    EXPECT_EQ(View().CaretColumn(), 3);
}

TEST_F(FrameTest, SyntaxCheckPassesCleanAndEmptyTexts)
{
    EXPECT_TRUE(Frame().CheckSyntax());
    SetText(L"# only a comment\r\r   \r# RewriteEngine Of");
    EXPECT_TRUE(Frame().CheckSyntax());
    SetText(L"RewriteEngine On\rRewriteRule ^/a$ /b [R=301]");
    EXPECT_TRUE(Frame().CheckSyntax());
}

TEST_F(FrameTest, SyntaxErrorsShowTheDialogWithTheRefusedLines)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* errors;
    };
    const Case cases[] = {
        {L"# one\rRewriteEngine On\rRewriteEngine Of", L"Unknown expression on line #3: RewriteEngine Of\r\n"},
        {L"Bogus one\rRewriteEngine On\rBogus two",
         L"Unknown expression on line #1: Bogus one\r\nUnknown expression on line #3: Bogus two\r\n"},
    };
    bool first = true;
    for (const Case& c : cases) {
        SetText(c.text);
        std::vector<int> before;
        if (first)
            before = {IDCANCEL};
        TestSupport::DialogAnswerer answer(L"Error", IDOK, 10000, 0, before,
                                           first ? TestSupport::BuildFolder() + L"\\quillpen-error-dialog.bmp" : L"");
        EXPECT_FALSE(Frame().CheckSyntax());
        ASSERT_TRUE(answer.Join());
        EXPECT_EQ(answer.EditText(), c.errors);
        EXPECT_NE(answer.StaticTexts().find(L"Syntax is incorrect"), std::wstring::npos);
        // Escape (the Cancel command) leaves the dialog open; only OK ends it.
        if (first) {
            EXPECT_TRUE(answer.StayedOpenAfterFirst());
        }
        first = false;
    }
}

TEST_F(FrameTest, ApplyOnUnmodifiedTextClosesWithoutSaving)
{
    TestSupport::TempFolder folder(L"quillpen-apply");
    std::wstring path = folder.File(L"site.conf");
    ASSERT_TRUE(TestSupport::WriteWholeFile(path, "RewriteEngine On\r\n"));
    ASSERT_TRUE(Frame().OpenConfigFile(path, L"site.conf"));
    Pump();
    EXPECT_EQ(Caption(), L"site.conf - Orvane Quillpen");
    Command(ID_APPLY);
    EXPECT_FALSE(FrameAlive());
    EXPECT_TRUE(sawQuit_);
    EXPECT_EQ(quitCode_, 1u);
    EXPECT_EQ(TestSupport::ReadWholeFile(path), "RewriteEngine On\r\n");
}

TEST_F(FrameTest, DiscardClosesModifiedTextWithoutPrompt)
{
    SetText(L"RewriteEngine On");
    Command(ID_DISCARD);
    EXPECT_FALSE(FrameAlive());
}

TEST_F(FrameTest, ClosePromptAnswers)
{
    SetText(L"RewriteEngine On");
    {
        TestSupport::DialogAnswerer answer(L"Orvane Quillpen", IDCANCEL);
        Frame().SendMessage(WM_CLOSE);
        ASSERT_TRUE(answer.Join());
        EXPECT_NE(answer.StaticTexts().find(L"Save changes to Untitled ?"), std::wstring::npos);
    }
    EXPECT_TRUE(FrameAlive());
    {
        // Yes on an untitled text asks for a file name; cancelling that keeps the window.
        TestSupport::DialogAnswerer prompt(L"Orvane Quillpen", IDYES);
        TestSupport::DialogAnswerer saveAs(L"Save As", IDCANCEL, 15000);
        Frame().SendMessage(WM_CLOSE);
        EXPECT_TRUE(prompt.Join());
        EXPECT_TRUE(saveAs.Join());
    }
    EXPECT_TRUE(FrameAlive());
    {
        TestSupport::DialogAnswerer answer(L"Orvane Quillpen", IDNO);
        Frame().SendMessage(WM_CLOSE);
        ASSERT_TRUE(answer.Join());
    }
    EXPECT_FALSE(FrameAlive());
}

TEST_F(FrameTest, ContextMenuItemsTakeTheUpdateState)
{
    SetText(L"text");
    PlaceCaret(4);
    Framework::CUpdateUIBase& ui = Frame();
    Framework::ScopedMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CONTEXTMENU)));
    ASSERT_TRUE(menu);
    HMENU popup = ::GetSubMenu(menu.Get(), 0);
    ASSERT_EQ(::GetMenuItemCount(popup), 8);
    Frame().SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
    EXPECT_EQ(ui.UIIsEnabled(ID_EDIT_COPY), false);
    EXPECT_TRUE(::GetMenuState(popup, ID_EDIT_COPY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(::GetMenuState(popup, ID_EDIT_SELECT_ALL, MF_BYCOMMAND) & MF_GRAYED);
}

}

namespace {

TEST_F(FrameTest, HighlightedMenuItemShowsItsHelpInTheStatusBar)
{
    Framework::ScopedMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CONTEXTMENU)));
    ASSERT_TRUE(menu);
    HMENU popup = ::GetSubMenu(menu.Get(), 0);
    HWND status = Frame().StatusBar().m_hWnd;
    const std::pair<int, std::wstring> items[] = {
        {ID_EDIT_UNDO, L"Undo the last action"},
        {ID_EDIT_CUT, L"Cut the selection and put it on the Clipboard"},
        {ID_EDIT_COPY, L"Copy the selection and put it on the Clipboard"},
        {ID_EDIT_PASTE, L"Insert Clipboard contents"},
        {ID_EDIT_CLEAR, L"Erase the selection"},
        {ID_EDIT_SELECT_ALL, L"Select the entire document"},
    };
    for (const auto& item : items) {
        Frame().SendMessage(WM_MENUSELECT, MAKEWPARAM(item.first, MF_HILITE), reinterpret_cast<LPARAM>(popup));
        wchar_t text[128] = {};
        EXPECT_TRUE(::SendMessageW(status, SB_ISSIMPLE, 0, 0));
        // The simple part is read by its own index; Wine's status bar answers it as part 0.
        ::SendMessageW(status, SB_GETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
        if (!text[0])
            ::SendMessageW(status, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), item.second);
    }
    // The menu closes: the panes come back.
    Frame().SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(::SendMessageW(status, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(Frame().StatusBar().GetPaneText(ID_ROW_PANE), L"Row: 1");
}

}
