// The rule tester's dialog driven in-process with messages.
#include <gtest/gtest.h>

#include <windows.h>
#include <richedit.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <regex>
#include <string>
#include <thread>

#include <Framework/Handles.h>
#include <Framework/Module.h>

#include "DialogLayout.h"
#include "QuillprobeDlg.h"
#include "RichEditFormat.h"
#include "ProbeTexts.h"
#include "RuleTest.h"
#include "RuleTestRun.h"
#include "TestSupport/WindowDriver.h"
#include "resource.h"

using namespace Orvane::Quillon;
using namespace Orvane::Quillprobe;
using namespace TestSupport;

namespace {

class RichEditEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        library_.Reset(::LoadLibraryW(L"RICHED20.DLL"));
        ASSERT_TRUE(library_);
        Framework::Module().Init(::GetModuleHandleW(nullptr));
    }

private:
    Framework::ScopedLibrary library_;
};
::testing::Environment* const richEdit = ::testing::AddGlobalTestEnvironment(new RichEditEnvironment);

void DrainMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

class ProbeDialog : public ::testing::Test {
protected:
    void Open(const std::wstring& argument = std::wstring())
    {
        dialog_ = std::make_unique<CQuillprobeDlg>(argument);
        ASSERT_TRUE(dialog_->Create(nullptr));
    }
    void TearDown() override
    {
        dialog_.reset();
        DrainMessages();
    }

    HWND Dialog() const { return dialog_->m_hWnd; }
    HWND Item(int id) const { return ::GetDlgItem(Dialog(), id); }
    std::string Text(int id) const { return Narrow(WindowText(Item(id))); }
    void SetText(int id, const std::string& text) const { ::SetWindowTextW(Item(id), Widen(text).c_str()); }
    bool Checked(int id) const { return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(int id) const { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Command(int id) const
    {
        ::SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    void Test() const { Command(IDC_TEST); }
    // Types at the end of a field, as a user does.
    void TypeAtEnd(int id, const std::string& text) const
    {
        RichEditFormat::SetSelection(Item(id), -1, -1);
        ::SendMessageA(Item(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    }
    CHARFORMAT2W FormatAt(int id, LONG position) const
    {
        HWND edit = Item(id);
        CHARRANGE saved = RichEditFormat::GetSelection(edit);
        RichEditFormat::SetSelection(edit, position, position + 1);
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        ::SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        RichEditFormat::SetSelection(edit, saved.cpMin, saved.cpMax);
        return format;
    }
    COLORREF ColourAt(int id, LONG position) const { return FormatAt(id, position).crTextColor; }
    COLORREF BackgroundAt(int id, LONG position) const
    {
        CHARFORMAT2W format = FormatAt(id, position);
        return (format.dwEffects & CFE_AUTOBACKCOLOR) ? CLR_INVALID : format.crBackColor;
    }
    void ExpectMessage(const std::string& start) const
    {
        std::string result = Text(IDC_RESULT);
        EXPECT_EQ(0u, result.rfind(start, 0)) << result;
        EXPECT_EQ(RichEditFormat::kRed, ColourAt(IDC_RESULT, 0));
    }

    std::unique_ptr<CQuillprobeDlg> dialog_;
};

struct ArgumentCase {
    const wchar_t* commandLine;
    const wchar_t* argument;
};

class RuleArgument : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(RuleArgument, SecondElementUnquoted)
{
    EXPECT_EQ(GetParam().argument, CQuillprobeDlg::GetRuleArgument(GetParam().commandLine));
}

INSTANTIATE_TEST_SUITE_P(CommandLines, RuleArgument, ::testing::Values(
    ArgumentCase{L"Quillprobe.exe \"RewriteRule ^/a$ /b [L]\"", L"RewriteRule ^/a$ /b [L]"},
    ArgumentCase{L"\"C:\\x y\\Quillprobe.exe\" RewriteRule ^/a$ /b", L"RewriteRule"},
    ArgumentCase{L"Quillprobe.exe", L""},
    ArgumentCase{L"Quillprobe.exe \"\"", L""},
    ArgumentCase{L"Quillprobe.exe \"\\\"a\\\"b\\\"\" ignored", L"a\"b"},
    ArgumentCase{L"Quillprobe.exe \"\\\"\\\"x\\\"\\\"\"", L"\"x\""}));

TEST_F(ProbeDialog, WithoutArgumentShowsDefaultLineAndFormatError)
{
    Open();
    EXPECT_EQ("RewriteRule ", Text(IDC_RULE));
    ExpectMessage(Texts::kBadRuleFormat);
    EXPECT_EQ("0.00 ms", Text(IDC_TIME));
    EXPECT_EQ("Quillprobe", Narrow(WindowText(Dialog())));
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendMessageW(Dialog(), WM_GETICON, ICON_BIG, 0)));
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendMessageW(Dialog(), WM_GETICON, ICON_SMALL, 0)));
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(::SendMessageW(Item(IDC_HINT), BM_GETIMAGE, IMAGE_ICON, 0)));
    EXPECT_FALSE(::IsWindowVisible(Item(IDC_SAVE)));
}

TEST_F(ProbeDialog, ArgumentIsSplitIntoPartsAndHighlighted)
{
    Open(L"RewriteRule ^/a$ /b [L,NC]");
    EXPECT_EQ("^/a$", Text(IDC_REGEXP));
    EXPECT_EQ("/b", Text(IDC_FORMAT));
    EXPECT_TRUE(Checked(IDC_NOCASE));
    EXPECT_FALSE(Checked(IDC_NEXT));
    EXPECT_FALSE(Checked(IDC_LOOP));
    EXPECT_EQ("", Text(IDC_RESULT));

    EXPECT_EQ(RichEditFormat::kBlue, ColourAt(IDC_RULE, 0));
    EXPECT_EQ(0u, FormatAt(IDC_RULE, 0).dwEffects & CFE_BOLD);
    EXPECT_EQ(RichEditFormat::kRegexpBackground, BackgroundAt(IDC_RULE, 12));
    EXPECT_EQ(RichEditFormat::kFormatBackground, BackgroundAt(IDC_RULE, 17));
    EXPECT_EQ(RichEditFormat::kBlack, ColourAt(IDC_RULE, 12));
    EXPECT_EQ(RichEditFormat::kRegexpBackground, BackgroundAt(IDC_REGEXP, 0));
    EXPECT_EQ(RichEditFormat::kFormatBackground, BackgroundAt(IDC_FORMAT, 0));
}

TEST_F(ProbeDialog, TypingInRegexpRecomposesLineAndKeepsCaret)
{
    Open(L"RewriteRule ^/a$ /b [nc,l] # comment");
    TypeAtEnd(IDC_REGEXP, "x");
    EXPECT_EQ("RewriteRule ^/a$x /b  [L,NC]", Text(IDC_RULE));
    EXPECT_EQ("^/a$x", Text(IDC_REGEXP));
    CHARRANGE caret = RichEditFormat::GetSelection(Item(IDC_REGEXP));
    EXPECT_EQ(5, caret.cpMin);
    EXPECT_EQ(5, caret.cpMax);
    EXPECT_TRUE(Checked(IDC_NOCASE));
}

TEST_F(ProbeDialog, FlagBoxesWriteFlagsIntoLine)
{
    Open(L"RewriteRule ^/a$ /b [L,NC]");
    Click(IDC_NOCASE);
    EXPECT_EQ("RewriteRule ^/a$ /b  [L]", Text(IDC_RULE));
    Click(IDC_NEXT);
    EXPECT_EQ("RewriteRule ^/a$ /b  [L,N]", Text(IDC_RULE));
    EXPECT_TRUE(Checked(IDC_NEXT));
    Click(IDC_LOOP);
    EXPECT_EQ("RewriteRule ^/a$ /b  [L,N,LP]", Text(IDC_RULE));

    SetText(IDC_RULE, "RewriteRule ^/c$ /d [LP]");
    EXPECT_FALSE(Checked(IDC_NEXT));
    EXPECT_TRUE(Checked(IDC_LOOP));
    EXPECT_EQ("^/c$", Text(IDC_REGEXP));
    EXPECT_EQ("/d", Text(IDC_FORMAT));
    Click(IDC_NOCASE);
    EXPECT_EQ("RewriteRule ^/c$ /d  [NC,LP]", Text(IDC_RULE));
}

TEST_F(ProbeDialog, PatternThatDoesNotCompileLeavesBoxesAndPartsAlone)
{
    Open(L"RewriteRule ^/a$ /b [NC]");
    SetText(IDC_RULE, "RewriteRule ( /c [NC]");
    ExpectMessage("Bad regexp:\t");
    EXPECT_FALSE(Checked(IDC_NOCASE));
    EXPECT_EQ("^/a$", Text(IDC_REGEXP));
    EXPECT_EQ("/b", Text(IDC_FORMAT));
}

struct HintCase {
    int id;
    const char* inserted;
    LONG caretFromEnd;  // where the caret stands, counted back from the end of the insertion
};

TEST_F(ProbeDialog, HintReplacesSelectionAndPlacesCaret)
{
    const HintCase cases[] = {
        {0x8020, ".", 0}, {0x8021, "*", 0}, {0x8022, "+", 0}, {0x8023, "?", 0}, {0x8024, "[]", 1},
        {0x8025, "[^]", 1}, {0x8026, "|", 0}, {0x8027, "\\w", 0}, {0x8028, "\\s", 0}, {0x8029, "\\d", 0},
        {0x802A, "\\u", 0}, {0x802B, "\\l", 0}, {0x802C, "()", 1}, {0x802D, "(?:)", 1},
        {0x802E, "(?=)", 1}, {0x802F, "(?!)", 1}};
    Open(L"RewriteRule ^/abc$ /b");
    HWND regexp = Item(IDC_REGEXP);
    for (const HintCase& c : cases) {
        SetText(IDC_REGEXP, "^/abc$");
        ::SetFocus(Item(IDC_RULE));
        RichEditFormat::SetSelection(regexp, 2, 5);  // "abc"
        Command(c.id);
        const std::string inserted = c.inserted;
        EXPECT_EQ("^/" + inserted + "$", Text(IDC_REGEXP)) << c.id;
        EXPECT_EQ("RewriteRule ^/" + inserted + "$ /b ", Text(IDC_RULE)) << c.id;
        LONG expected = 2 + static_cast<LONG>(inserted.size()) - c.caretFromEnd;
        CHARRANGE caret = RichEditFormat::GetSelection(regexp);
        EXPECT_EQ(expected, caret.cpMin) << c.id;
        EXPECT_EQ(expected, caret.cpMax) << c.id;
        EXPECT_EQ(regexp, ::GetFocus()) << c.id;
    }
}

struct ControlCase {
    int id;
    const wchar_t* className;
    const char* caption;
    LONG style;      // bits the control must have
    LONG notStyle;   // bits it must not have
};

TEST_F(ProbeDialog, ControlsHaveTheirClassCaptionAndStyle)
{
    const LONG field = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
    const ControlCase cases[] = {
        {IDC_RULE, L"RichEdit20A", nullptr, field, ES_MULTILINE | ES_READONLY},
        {IDC_REGEXP, L"RichEdit20A", nullptr, field, ES_MULTILINE | ES_READONLY},
        {IDC_TEST_STRING, L"RichEdit20A", nullptr, field, ES_MULTILINE | ES_READONLY},
        {IDC_MATCH_RESULTS, L"RichEdit20A", nullptr, field | ES_MULTILINE | ES_READONLY, 0},
        {IDC_FORMAT, L"RichEdit20A", nullptr, field, ES_MULTILINE | ES_READONLY},
        {IDC_RESULT, L"RichEdit20A", nullptr, field | ES_READONLY, ES_MULTILINE},
        {IDC_TEST, L"Button", "Test", BS_DEFPUSHBUTTON | WS_VISIBLE, 0},
        {IDC_SAVE, L"Button", "Save", 0, WS_VISIBLE},
        {IDC_NEXT, L"Button", "Next iteration [N]", BS_AUTOCHECKBOX, 0},
        {IDC_LOOP, L"Button", "Loop [LP]", BS_AUTOCHECKBOX, 0},
        {IDC_NOCASE, L"Button", "Nocase [NC]", BS_AUTOCHECKBOX, 0},
        {IDC_TIME, L"Static", "0.00 ms", 0, 0},
        {IDC_HINT, L"Button", "", BS_ICON, 0},
        {IDC_FORMAT_LABEL, L"Static", "Format string:", 0, 0},
        {IDC_RESULT_LABEL, L"Static", "Result string:", 0, 0},
    };
    Open(L"RewriteRule ^/a$ /b");
    for (const ControlCase& c : cases) {
        HWND control = Item(c.id);
        ASSERT_NE(nullptr, control) << c.id;
        wchar_t className[64] = {};
        ASSERT_GT(::GetClassNameW(control, className, 64), 0);
        EXPECT_EQ(0, ::lstrcmpiW(c.className, className)) << c.id;
        if (c.caption) {
            EXPECT_EQ(c.caption, Narrow(WindowText(control))) << c.id;
        }
        LONG style = static_cast<LONG>(::GetWindowLongPtrW(control, GWL_STYLE));
        if (c.style & 0xF) {  // a button type is a value, not a set of bits
            EXPECT_EQ(c.style & 0xF, style & 0xF) << c.id;
        }
        // The rich edit draws the border of WS_BORDER itself and takes the bit out of its style.
        LONG want = c.style & ~0xFL;
        if (c.className == std::wstring(L"RichEdit20A")) {
            want &= ~WS_BORDER;
            EXPECT_TRUE((style & WS_BORDER) || (::GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
                << c.id << " " << std::hex << ::GetWindowLongPtrW(control, GWL_EXSTYLE);
        }
        EXPECT_EQ(want, style & want) << c.id;
        EXPECT_EQ(0, style & c.notStyle) << c.id;
    }

    for (const char* caption : {"Rule:", "Regexp", "Test string:", "Match results"}) {
        bool found = false;
        for (HWND child = ::GetWindow(Dialog(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            found = found || (Narrow(WindowText(child)) == caption && static_cast<WORD>(::GetDlgCtrlID(child)) == 0xFFFF);
        EXPECT_TRUE(found) << caption;
    }

    LONG style = static_cast<LONG>(::GetWindowLongPtrW(Dialog(), GWL_STYLE));
    const LONG frame = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE;
    EXPECT_EQ(frame, style & frame);
    EXPECT_EQ(0, style & WS_CHILD);
    EXPECT_TRUE(::GetWindowLongPtrW(Dialog(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(nullptr, ::GetParent(Dialog()));

    LOGFONTW font{};
    HFONT dialogFont = reinterpret_cast<HFONT>(::SendMessageW(Dialog(), WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, dialogFont);
    ASSERT_GT(::GetObjectW(dialogFont, sizeof(font), &font), 0);
    EXPECT_EQ(std::wstring(L"Microsoft Sans Serif"), font.lfFaceName);
}

TEST_F(ProbeDialog, TabOrderFollowsTemplate)
{
    Open(L"RewriteRule ^/a$ /b");
    const int order[] = {IDC_RULE, IDC_REGEXP, IDC_HINT, IDC_TEST_STRING, IDC_MATCH_RESULTS, IDC_FORMAT,
                         IDC_RESULT, IDC_TEST, IDC_NOCASE, IDC_NEXT, IDC_LOOP, IDC_RULE};
    HWND at = Item(order[0]);
    for (std::size_t i = 1; i < sizeof(order) / sizeof(order[0]); ++i) {
        at = ::GetNextDlgTabItem(Dialog(), at, FALSE);
        EXPECT_EQ(order[i], ::GetDlgCtrlID(at)) << i;
    }
}

TEST(HintMenu, CaptionsAndSeparatorsInOrder)
{
    Framework::ScopedMenu menu(::LoadMenuW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_HINTS)));
    ASSERT_TRUE(menu);
    HMENU popup = ::GetSubMenu(menu.Get(), 0);
    ASSERT_NE(nullptr, popup);
    const char* const expected[] = {
        ". any character", "* zero or more times", "+ one ore more times", "? one time ore none",
        "[] any character of", "[^] any character except", "| or", "",
        "\\w any word character", "\\s space character", "\\d any digit character",
        "\\u any uppercase character", "\\l any lowercase character", "", "() match",
        "(?:) non-matching parenthes", "(?=) Positive Forward Lookahead", "(?!) negative lookahead", ""};
    ASSERT_EQ(static_cast<int>(sizeof(expected) / sizeof(expected[0])), ::GetMenuItemCount(popup));
    UINT id = 0x8020;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID;
        ASSERT_TRUE(::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &info));
        if (*expected[i] == '\0') {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << i;
            continue;
        }
        wchar_t caption[64] = {};
        ::GetMenuStringW(popup, static_cast<UINT>(i), caption, 64, MF_BYPOSITION);
        EXPECT_EQ(expected[i], Narrow(caption));
        EXPECT_EQ(id++, info.wID);
    }
}

TEST_F(ProbeDialog, HintButtonOpensMenuWhoseChoiceIsInserted)
{
    Open(L"RewriteRule ^/a$ /b");
    RichEditFormat::SetSelection(Item(IDC_REGEXP), 0, 0);
    std::atomic<bool> stop{false};
    std::thread chooser([&stop] {
        while (!stop) {
            for (HWND menu = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); menu;
                 menu = ::FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
                DWORD process = 0;
                ::GetWindowThreadProcessId(menu, &process);
                if (process == ::GetCurrentProcessId() && ::IsWindowVisible(menu)) {
                    ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
                    ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
                    return;
                }
            }
            ::Sleep(10);
        }
    });
    Command(IDC_HINT);
    DrainMessages();
    stop = true;
    chooser.join();
    EXPECT_EQ(".^/a$", Text(IDC_REGEXP));
}

TEST_F(ProbeDialog, TestShowsCapturesResultAndTime)
{
    Open(L"RewriteRule ^/(\\w+)(x)?/(\\d+)$ /show.asp?name=$1&id=$3 [L]");
    SetText(IDC_TEST_STRING, "/item/42?page=2");
    Test();
    EXPECT_EQ("$0:\t/item/42\r\n$1:\titem\r\n$2:\t\r\n$3:\t42\r\n", Text(IDC_MATCH_RESULTS));
    EXPECT_EQ("/show.asp?name=item&id=42", Text(IDC_RESULT));
    // Messages are red; a result is black, so the two cannot be taken for each other.
    EXPECT_EQ(RichEditFormat::kBlack, ColourAt(IDC_RESULT, 0));
    EXPECT_EQ(RichEditFormat::kBlack, ColourAt(IDC_RESULT, 24));
    EXPECT_TRUE(std::regex_match(Text(IDC_TIME), std::regex("\\d+\\.\\d{6} ms"))) << Text(IDC_TIME);
    EXPECT_EQ("/item/42?page=2", Text(IDC_TEST_STRING));

    SetText(IDC_TEST_STRING, "/none");
    Test();
    ExpectMessage(Texts::kPatternNotMatched);
}

TEST_F(ProbeDialog, EnterInFieldRunsTest)
{
    Open(L"RewriteRule ^/(a)$ /b$1");
    SetText(IDC_TEST_STRING, "/a");
    MSG key{Item(IDC_TEST_STRING), WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(dialog_->PreTranslateMessage(&key));
    DrainMessages();
    EXPECT_EQ("/ba", Text(IDC_RESULT));
}

TEST_F(ProbeDialog, FailedTestsLeaveEarlierFieldsAsTheyWere)
{
    Open(L"RewriteRule ^/(a)$ /b");
    SetText(IDC_TEST_STRING, "/a");
    Test();
    const std::string matches = Text(IDC_MATCH_RESULTS);
    ASSERT_EQ("$0:\t/a\r\n$1:\ta\r\n", matches);

    ::SetWindowTextW(Item(IDC_TIME), L"marker");
    SetText(IDC_TEST_STRING, "/A");
    Test();
    ExpectMessage(Texts::kPatternNotMatched);
    EXPECT_EQ(matches, Text(IDC_MATCH_RESULTS));
    EXPECT_NE("marker", Text(IDC_TIME));

    Click(IDC_NOCASE);
    Test();
    EXPECT_EQ("/b", Text(IDC_RESULT));
    const std::string nocaseMatches = Text(IDC_MATCH_RESULTS);
    EXPECT_EQ("$0:\t/A\r\n$1:\tA\r\n", nocaseMatches);

    ::SetWindowTextW(Item(IDC_TIME), L"marker");
    SetText(IDC_RULE, "RewriteRule");
    Test();
    ExpectMessage(Texts::kBadRuleFormat);
    SetText(IDC_RULE, "RewriteRule (( /b [XYZ]");
    Test();
    ExpectMessage("Unknown flag xyz Bad regexp:\t");
    EXPECT_EQ("marker", Text(IDC_TIME));
    EXPECT_EQ(nocaseMatches, Text(IDC_MATCH_RESULTS));
}

TEST_F(ProbeDialog, AddressInTestStringIsRemovedOnYes)
{
    Open(L"RewriteRule ^/a$ /b");
    SetText(IDC_TEST_STRING, "http://host:81/a?q=1");
    {
        BoxAnswerer answer(Texts::kWarningCaption, IDYES);
        Test();
        EXPECT_TRUE(answer.Answered());
        EXPECT_EQ(Texts::kAddressQuestion, answer.Text());
        EXPECT_EQ(Dialog(), answer.Owner());
    }
    EXPECT_EQ("/a?q=1", Text(IDC_TEST_STRING));
    EXPECT_EQ("/b", Text(IDC_RESULT));

    SetText(IDC_TEST_STRING, "https://host/a");
    {
        BoxAnswerer answer(Texts::kWarningCaption, IDNO);
        Test();
        EXPECT_TRUE(answer.Answered());
    }
    EXPECT_EQ("https://host/a", Text(IDC_TEST_STRING));
    ExpectMessage(Texts::kPatternNotMatched);
}

TEST_F(ProbeDialog, LoopingRuleListsIterationsInBox)
{
    Open(L"RewriteRule ^/(.*)$ /$1 [N]");
    SetText(IDC_TEST_STRING, "/a");
    std::wstring log;
    {
        BoxAnswerer answer(Texts::kIterationsCaption, IDOK);
        Test();
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(nullptr, answer.Owner());
        log = answer.Text();
    }
    std::wstring expected;
    for (int i = 0; i < 22; ++i)
        expected += L"/a\r\n";
    expected += Widen(Texts::kInfiniteLoop);
    // The box may drop the final line break of its text.
    EXPECT_EQ(0u, (expected + L"\r\n").find(log)) << Narrow(log);
    EXPECT_GE(log.size() + 2, expected.size());
    EXPECT_EQ("/a", Text(IDC_RESULT));

    SetText(IDC_RULE, "RewriteRule ^/a$ /b [LP]");
    {
        BoxAnswerer answer(Texts::kIterationsCaption, IDOK);
        Test();
        ASSERT_TRUE(answer.Answered());
        EXPECT_EQ(L"/b", answer.Text().substr(0, 2));
        EXPECT_EQ(std::wstring::npos, answer.Text().find(L"/b", 2));
    }
    EXPECT_EQ("/b", Text(IDC_RESULT));
}

TEST_F(ProbeDialog, SlowTestIsCutOffWhileTheDialogAnswers)
{
    // Boost searches this for far longer than the cut-off, on 32-bit and 64-bit builds alike: a
    // shorter text lets Boost's own complexity limit, a fixed fallback where its bound overflows on
    // 32-bit, end the search first.
    Open(Widen("RewriteRule ^(a|a)*$|" + std::string(1000, 'z') + " /x"));
    SetText(IDC_TEST_STRING, std::string(999, 'a') + "b");
    ::SetWindowTextW(Item(IDC_TIME), L"marker");
    std::atomic<bool> answered{false};
    std::atomic<bool> testDone{false};
    std::thread other([&] {
        ::Sleep(300);
        DWORD_PTR reply = 0;
        // A message sent from another thread is handled while the test runs.
        if (::SendMessageTimeoutW(Dialog(), WM_NULL, 0, 0, SMTO_NORMAL, 1000, &reply) && !testDone)
            answered = true;
    });
    const ULONGLONG start = ::GetTickCount64();
    Test();
    testDone = true;
    const ULONGLONG took = ::GetTickCount64() - start;
    other.join();
    EXPECT_TRUE(answered);
    EXPECT_GE(took, static_cast<ULONGLONG>(kTestTimeLimit.count()) - 100);
    EXPECT_LT(took, static_cast<ULONGLONG>(kTestTimeLimit.count()) + 3000);
    ExpectMessage(Texts::kTestCutOff);
    EXPECT_EQ("marker", Text(IDC_TIME));
    DrainMessages();
    SaveWindowScreenshot(Dialog(), BuildFolder() + L"\\quillprobe-cut-off.bmp");

    // The next test runs as usual.
    SetText(IDC_RULE, "RewriteRule ^/(a)$ /b$1");
    SetText(IDC_TEST_STRING, "/a");
    Test();
    EXPECT_EQ("/ba", Text(IDC_RESULT));
}

TEST_F(ProbeDialog, BadInputGivesMessagesNotCrashes)
{
    Open(L"RewriteRule ^/(.*)$ /x/$1");
    SetText(IDC_TEST_STRING, "/\x01\x02\x7f\xff");
    Test();
    EXPECT_EQ("/x/\x01\x02\x7f\xff", Text(IDC_RESULT));

    SetText(IDC_TEST_STRING, "");
    Test();
    ExpectMessage(Texts::kPatternNotMatched);

    SetText(IDC_RULE, "");
    ExpectMessage(Texts::kBadRuleFormat);
    Test();
    ExpectMessage(Texts::kBadRuleFormat);

    // A megabyte line, test string and result pass through the fields whole.
    const std::string megabyte = "/" + std::string(1u << 20, 'a');
    std::string huge = "RewriteRule ^/(a*)$ " + megabyte;
    SetText(IDC_RULE, huge);
    EXPECT_FALSE(Text(IDC_RESULT).empty() && Text(IDC_REGEXP).empty());
    EXPECT_EQ(huge.size(), Text(IDC_RULE).size());
    EXPECT_EQ("^/(a*)$", Text(IDC_REGEXP));
    EXPECT_EQ(megabyte, Text(IDC_FORMAT));
    SetText(IDC_TEST_STRING, megabyte);
    EXPECT_EQ(megabyte.size(), Text(IDC_TEST_STRING).size());
    Test();
    EXPECT_FALSE(Text(IDC_RESULT).empty());
    EXPECT_EQ(megabyte, Text(IDC_RESULT));
    EXPECT_EQ(RichEditFormat::kBlack, ColourAt(IDC_RESULT, 0));
    EXPECT_EQ("$0:\t" + megabyte + "\r\n$1:\t" + megabyte.substr(1) + "\r\n", Text(IDC_MATCH_RESULTS));
    EXPECT_TRUE(::IsWindow(Dialog()));
}

TEST_F(ProbeDialog, LayoutFollowsClientSize)
{
    Open();
    ASSERT_TRUE(::SetWindowPos(Dialog(), nullptr, 0, 0, 900, 800, SWP_NOZORDER | SWP_NOMOVE));
    RECT client{};
    ASSERT_TRUE(::GetClientRect(Dialog(), &client));
    // The controls stand where the layout puts them; the layout itself is pinned by ControlPlacesAtOneSize.
    for (const ControlPlace& place : ControlPlaces(client.right, client.bottom)) {
        RECT rect{};
        ASSERT_TRUE(::GetWindowRect(Item(place.id), &rect));
        ::MapWindowPoints(nullptr, Dialog(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(place.x, rect.left) << place.id;
        EXPECT_EQ(place.y, rect.top) << place.id;
        EXPECT_EQ(place.width, rect.right - rect.left) << place.id;
        EXPECT_EQ(place.height, rect.bottom - rect.top) << place.id;
    }

    MINMAXINFO info{};
    ::SendMessageW(Dialog(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(600, info.ptMinTrackSize.x);
    EXPECT_EQ(600, info.ptMinTrackSize.y);
}

TEST(ProbeDialogLayout, ControlPlacesAtOneSize)
{
    struct Expected {
        int id, x, y, width, height;
    };
    const Expected places[] = {
        {IDC_RULE, 5, 25, 874, 35},
        {IDC_REGEXP, 5, 145, 856, 35},
        {IDC_HINT, 862, 145, 18, 35},
        {IDC_TEST_STRING, 5, 200, 874, 35},
        {IDC_MATCH_RESULTS, 5, 260, 874, 366},
        {IDC_FORMAT_LABEL, 10, 636, 874, 15},
        {IDC_FORMAT, 5, 656, 874, 35},
        {IDC_RESULT_LABEL, 10, 696, 874, 15},
        {IDC_RESULT, 5, 716, 874, 35},
    };
    const std::vector<ControlPlace> actual = ControlPlaces(884, 761);
    ASSERT_EQ(sizeof(places) / sizeof(places[0]), actual.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(places[i].id, actual[i].id) << i;
        EXPECT_EQ(places[i].x, actual[i].x) << places[i].id;
        EXPECT_EQ(places[i].y, actual[i].y) << places[i].id;
        EXPECT_EQ(places[i].width, actual[i].width) << places[i].id;
        EXPECT_EQ(places[i].height, actual[i].height) << places[i].id;
    }
}

TEST_F(ProbeDialog, EscapeDestroysDialogAndQuits)
{
    Open();
    HWND window = Dialog();
    Command(IDCANCEL);
    EXPECT_FALSE(::IsWindow(window));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}

TEST_F(ProbeDialog, CloseBoxDestroysDialogAndQuits)
{
    struct CloseCase {
        UINT message;
        WPARAM wParam;
    };
    const CloseCase cases[] = {{WM_CLOSE, 0}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (const CloseCase& c : cases) {
        Open();
        HWND window = Dialog();
        ::SendMessageW(window, c.message, c.wParam, 0);
        // The dialog manager posts the IDCANCEL command of the close box.
        bool quit = false;
        WPARAM code = 1;
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                code = msg.wParam;
            } else {
                ::DispatchMessageW(&msg);
            }
        }
        EXPECT_FALSE(::IsWindow(window)) << c.message;
        EXPECT_TRUE(quit) << c.message;
        EXPECT_EQ(0u, code);
        dialog_.reset();
    }
}

TEST_F(ProbeDialog, EscapeKeyInFieldEndsDialog)
{
    Open(L"RewriteRule ^/a$ /b");
    HWND window = Dialog();
    MSG key{Item(IDC_TEST_STRING), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(dialog_->PreTranslateMessage(&key));
    DrainMessages();
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(ProbeDialog, EscapeKeyInOtherControlsEndsDialog)
{
    // One of each kind of control beside the single-line field above.
    for (int id : {IDC_MATCH_RESULTS, IDC_RESULT, IDC_NOCASE}) {
        Open(L"RewriteRule ^/a$ /b");
        HWND window = Dialog();
        ::SetFocus(Item(id));
        MSG key{Item(id), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
        if (!dialog_->PreTranslateMessage(&key))
            ::DispatchMessageW(&key);
        DrainMessages();
        EXPECT_FALSE(::IsWindow(window)) << id;
        dialog_.reset();
    }
}

TEST(RunQuillprobe, DialogThatCannotBeCreatedEndsWithFailureCode)
{
    // A module without the dialog template.
    Framework::Module().Init(::GetModuleHandleW(L"kernel32.dll"));
    int code = RunQuillprobe(SW_SHOWNORMAL, L"");
    Framework::Module().Init(::GetModuleHandleW(nullptr));
    EXPECT_EQ(kExitNoDialog, code);
    EXPECT_EQ(0u, Framework::Module().GetMessageLoopCount());
}

}
