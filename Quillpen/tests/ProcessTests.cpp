// Black-box tests of Quillpen.exe: started on a file and driven from this process by window
// class, caption and messages.
#include "Strings.h"
#include "resource.h"

#include "Framework/Handles.h"
#include "Framework/Paths.h"
#include "TestSupport/QuillpenCommands.h"
#include "TestSupport/WindowDriver.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <string>

using namespace TestSupport;

namespace {

using Orvane::Quillpen::kFrameClassName;
using Orvane::Quillpen::kViewClassName;
static_assert(kQuillpenApplyCommand == ID_APPLY, "other programs' tests send Quillpen's Apply by this name");
const char kHeader[] = "# Orvane Quillon configuration file\r\n# Version 3.0.0.25\r\n";

std::wstring QuillpenExe() { return BuildFolder() + L"\\bin\\Quillpen.exe"; }

// Waits until another process has written the file; false after the timeout.
bool WaitForFile(const std::wstring& path, DWORD timeoutMs)
{
    return WaitUntil([&] {
        std::string bytes;
        return TryReadWholeFile(path, bytes);
    }, timeoutMs, false);
}

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = std::make_unique<TempFolder>(L"quillpen-process"); }
    void TearDown() override
    {
        // The editor, and the prober or anything else it started, by id while the editor still runs.
        EndChildProcesses();
        editor_.Terminate();
        folder_.reset();
    }

    // Starts the editor and waits for its frame; the caption tells the file.
    HWND Start(const std::wstring& arguments, const std::wstring& program = QuillpenExe())
    {
        if (!editor_.Start(program, arguments))
            return nullptr;
        frame_ = WaitForTopWindow(editor_.ProcessId(), kFrameClassName, nullptr, 15000);
        if (!frame_)
            return nullptr;
        view_ = ::FindWindowExW(frame_, nullptr, kViewClassName, nullptr);
        return view_ ? frame_ : nullptr;
    }
    void Type(const std::wstring& text)
    {
        ::SendMessageW(view_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::SendMessageW(view_, EM_SETMODIFY, TRUE, 0);
        // Typing posts input messages, after which the editor's idle pass updates the title; sent
        // messages start no idle pass, so a posted one stands in for the keys.
        ::PostMessageW(frame_, WM_NULL, 0, 0);
    }
    void Command(int id) { ::PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    std::unique_ptr<TempFolder> folder_;
    ChildProcess editor_;
    HWND frame_ = nullptr;
    HWND view_ = nullptr;
};

TEST_F(ProcessTest, CleanTextIsSavedWithHeaderAndAttributes)
{
    std::wstring path = folder_->File(L"site.conf");
    ASSERT_TRUE(WriteWholeFile(path, "RewriteEngine Off\r\n"));
    ASSERT_TRUE(Start(path));
    EXPECT_EQ(WindowText(frame_), L"site.conf - Orvane Quillpen");
    Type(L"RewriteEngine On\r\nRewriteRule ^/a$ /b [R=301]\r\n");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(frame_) == L"site.conf* - Orvane Quillpen"; }, 10000, false))
        << Narrow(WindowText(frame_));
    SaveWindowScreenshot(frame_, BuildFolder() + L"\\quillpen-process-editor.bmp");
    Command(ID_APPLY);
    EXPECT_EQ(editor_.Wait(15000), 1u);
    EXPECT_EQ(ReadWholeFile(path), std::string(kHeader) + "\r\nRewriteEngine On\r\nRewriteRule ^/a$ /b [R=301]\r\n");
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(ProcessTest, TextWithErrorsShowsTheRefusedLinesAndKeepsTheFile)
{
    std::wstring path = folder_->File(L"errors.conf");
    ASSERT_TRUE(WriteWholeFile(path, "RewriteEngine On\r\n"));
    ASSERT_TRUE(Start(L"\"" + path + L"\" ignored words"));
    Type(L"# first\r\nRewriteEngine On\r\nRewriteEngine Of\r\nNoSuchDirective x\r\n");
    Command(ID_APPLY);
    HWND dialog = WaitForTopWindow(editor_.ProcessId(), L"#32770", L"Error", 15000);
    ASSERT_TRUE(dialog);
    ::Sleep(300);
    SaveWindowScreenshot(dialog, BuildFolder() + L"\\quillpen-process-error.bmp");
    EXPECT_EQ(WindowText(::GetDlgItem(dialog, IDC_ERROR_TEXT)),
              L"Unknown expression on line #3: RewriteEngine Of\r\nUnknown expression on line #4: NoSuchDirective x\r\n");
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 5000, false));
    EXPECT_TRUE(::IsWindow(frame_));
    EXPECT_EQ(ReadWholeFile(path), "RewriteEngine On\r\n");
    Command(ID_DISCARD);
    EXPECT_EQ(editor_.Wait(15000), 1u);
    EXPECT_EQ(ReadWholeFile(path), "RewriteEngine On\r\n");
}

TEST_F(ProcessTest, EmptyTextDeletesTheFile)
{
    std::wstring path = folder_->File(L"gone.conf");
    ASSERT_TRUE(WriteWholeFile(path, "RewriteEngine On\r\n"));
    ASSERT_TRUE(Start(path));
    Type(L"");
    Command(ID_APPLY);
    EXPECT_EQ(editor_.Wait(15000), 1u);
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ProcessTest, LoneQuoteOpensAnUntitledWindow)
{
    ASSERT_TRUE(Start(L"\""));
    EXPECT_EQ(WindowText(frame_), L"Untitled - Orvane Quillpen");
    Command(ID_DISCARD);
    EXPECT_EQ(editor_.Wait(15000), 1u);
}

TEST_F(ProcessTest, RegExpTestStartsTheProberBesideTheEditor)
{
    std::wstring editor = folder_->File(L"Quillpen.exe");
    ASSERT_TRUE(::CopyFileW(QuillpenExe().c_str(), editor.c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((Framework::ModuleFolder() + L"ProbeStandIn.exe").c_str(), folder_->File(L"Quillprobe.exe").c_str(),
                            FALSE));
    std::wstring path = folder_->File(L"rules.conf");
    ASSERT_TRUE(WriteWholeFile(path, "   RewriteRule ^/a$ /b [R=301]  \r\nRewriteCond %{HTTPS} off\r\n"));
    ASSERT_TRUE(Start(path, editor));
    std::wstring record = folder_->File(L"probe-args.txt");
    Command(ID_REGEXP_TEST);
    ASSERT_TRUE(WaitForFile(record, 15000));
    ::Sleep(300);
    EXPECT_EQ(ReadWholeFile(record), "\"RewriteRule ^/a$ /b [R=301]\"");

    // On the condition line below, the prober starts without parameters.
    ASSERT_TRUE(::DeleteFileW(record.c_str()));
    ::PostMessageW(view_, WM_KEYDOWN, VK_DOWN, 0x00500001);
    ::PostMessageW(view_, WM_KEYUP, VK_DOWN, 0xC0500001);
    ::Sleep(300);
    Command(ID_REGEXP_TEST);
    ASSERT_TRUE(WaitForFile(record, 15000));
    ::Sleep(300);
    EXPECT_EQ(ReadWholeFile(record), "");
    Command(ID_DISCARD);
    EXPECT_EQ(editor_.Wait(15000), 1u);
    ::DeleteFileW(editor.c_str());
    ::DeleteFileW(folder_->File(L"Quillprobe.exe").c_str());
}

TEST_F(ProcessTest, RegExpTestOpensTheRealProberOnTheCurrentLine)
{
    std::wstring path = folder_->File(L"probe.conf");
    ASSERT_TRUE(WriteWholeFile(path, "   RewriteRule ^/old/(.*)$ /new/$1 [R=301,L]  \r\nRewriteEngine on\r\n"));
    ASSERT_TRUE(Start(L"\"" + path + L"\""));
    Command(ID_REGEXP_TEST);
    HWND dialog = WaitForChildProcessWindow(editor_.ProcessId(), L"#32770", L"Quillprobe", 20000);
    ASSERT_NE(nullptr, dialog);
    DWORD probeId = 0;
    ::GetWindowThreadProcessId(dialog, &probeId);
    Framework::ScopedHandle probe(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, probeId));
    ASSERT_TRUE(probe);

    // The prober's text fields in window order: Rule, Regexp, Test string, Match results, Format
    // string, Result.
    EXPECT_EQ(ChildTexts(dialog, L"RichEdit20A"),
              L"RewriteRule ^/old/(.*)$ /new/$1 [R=301,L]\n^/old/(.*)$\n\n\n/new/$1\n");

    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    if (::WaitForSingleObject(probe.Get(), 10000) != WAIT_OBJECT_0)
        ::TerminateProcess(probe.Get(), 1);
    Command(ID_DISCARD);
    EXPECT_EQ(editor_.Wait(15000), 1u);
}

TEST_F(ProcessTest, SixtyFourthWindowIsRefused)
{
    ASSERT_TRUE(Start(L""));
    // One window at a time: many threads creating rich edits at once sometimes crash inside Wine.
    for (size_t frames = 2; frames <= 63; ++frames) {
        ASSERT_TRUE(::PostThreadMessageW(editor_.MainThreadId(), WM_USER, 0, 0));
        ASSERT_TRUE(WaitUntil([&] { return FindTopWindows(editor_.ProcessId(), kFrameClassName, nullptr).size() == frames; },
                              20000, false))
            << frames;
    }
    ASSERT_TRUE(::PostThreadMessageW(editor_.MainThreadId(), WM_USER, 0, 0));
    HWND box = WaitForTopWindow(editor_.ProcessId(), L"#32770", L"Quillpen", 60000);
    ASSERT_TRUE(box) << FindTopWindows(editor_.ProcessId(), kFrameClassName, nullptr, false).size() << " frames, "
                     << FindTopWindows(editor_.ProcessId(), nullptr, nullptr, false).size() << " windows";
    // The box may be found before its dialog procedure has filled in the text.
    EXPECT_TRUE(WaitUntil(
        [&] { return ChildTexts(box, L"Static").find(L"ERROR: Cannot create ANY MORE threads!!!") != std::wstring::npos; },
        10000, false));
    EXPECT_TRUE(WaitUntil([&] { return FindTopWindows(editor_.ProcessId(), kFrameClassName, nullptr).size() == 63; }, 30000,
                          false));
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    // The windows go on after the box.
    EXPECT_EQ(editor_.Wait(500), static_cast<DWORD>(STILL_ACTIVE));
    editor_.Terminate();
}

}
