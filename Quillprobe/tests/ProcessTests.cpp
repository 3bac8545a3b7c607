// Quillprobe.exe started as its own process and read from this one.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "TestSupport/WindowDriver.h"
#include "resource.h"

using namespace TestSupport;

namespace {

// How long a started program may take to show its window.
constexpr DWORD kWindowTimeoutMs = 20000;

// The programs of the build lie in bin/, beside this test's tests/ folder.
std::wstring ProgramPath(const wchar_t* name)
{
    return BuildFolder() + L"\\bin\\" + name;
}

std::string Field(HWND dialog, int id)
{
    return Narrow(WindowText(::GetDlgItem(dialog, id)));
}

TEST(QuillprobeProcess, QuotedLineArrivesWholeAndTestRuns)
{
    const std::wstring program = ProgramPath(L"Quillprobe.exe");
    ChildProcess probe;
    ASSERT_TRUE(probe.Start(program, L"\"RewriteRule ^/(\\w+)$ /x.asp?p=$1 [L,NC]\"")) << ::GetLastError();
    HWND dialog = WaitForTopWindow(probe.ProcessId(), nullptr, L"Quillprobe", kWindowTimeoutMs);
    ASSERT_NE(nullptr, dialog);

    EXPECT_EQ("RewriteRule ^/(\\w+)$ /x.asp?p=$1 [L,NC]", Field(dialog, IDC_RULE));
    EXPECT_EQ("^/(\\w+)$", Field(dialog, IDC_REGEXP));
    EXPECT_EQ("/x.asp?p=$1", Field(dialog, IDC_FORMAT));
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(::GetDlgItem(dialog, IDC_NOCASE), BM_GETCHECK, 0, 0));

    ::SendMessageW(::GetDlgItem(dialog, IDC_TEST_STRING), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"/Page"));
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_TEST, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDC_TEST)));
    EXPECT_EQ("/x.asp?p=Page", Field(dialog, IDC_RESULT));
    EXPECT_EQ("$0:\t/Page\r\n$1:\tPage\r\n", Field(dialog, IDC_MATCH_RESULTS));

    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(probe.Handle(), 10000));
    DWORD code = 1;
    ASSERT_TRUE(::GetExitCodeProcess(probe.Handle(), &code));
    EXPECT_EQ(0u, code);
}

TEST(QuillprobeProcess, UnquotedLineKeepsFirstWord)
{
    ChildProcess probe;
    ASSERT_TRUE(probe.Start(ProgramPath(L"Quillprobe.exe"), L"RewriteRule ^/a$ /b"));
    HWND dialog = WaitForTopWindow(probe.ProcessId(), nullptr, L"Quillprobe", kWindowTimeoutMs);
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("RewriteRule", Field(dialog, IDC_RULE));
    EXPECT_EQ("Bad RewriteRule format", Field(dialog, IDC_RESULT));
}

}
