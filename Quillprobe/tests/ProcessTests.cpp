// Quillprobe.exe started as its own process and read from this one.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include <Framework/Handles.h>

#include "TestSupport/WindowDriver.h"
#include "resource.h"
#include "Quillpen/res/resource.h"

using namespace TestSupport;

namespace {

// How long a started program may take to show its window.
constexpr DWORD kWindowTimeoutMs = 20000;

// The programs of the build lie in bin/, beside this test's tests/ folder.
std::wstring ProgramPath(const wchar_t* name)
{
    return BuildFolder() + L"\\bin\\" + name;
}

bool IsChildProcess(DWORD processId, DWORD parentId)
{
    Framework::ScopedFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == processId)
            return entry.th32ParentProcessID == parentId;
    }
    return false;
}

// A visible window of the class and title that a process started by parentId owns.
HWND WaitForChildWindow(DWORD parentId, const wchar_t* className, const wchar_t* title)
{
    for (int i = 0; i < 1000; ++i) {
        for (HWND window = ::FindWindowExW(nullptr, nullptr, className, title); window;
             window = ::FindWindowExW(nullptr, window, className, title)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (::IsWindowVisible(window) && IsChildProcess(owner, parentId))
                return window;
        }
        ::Sleep(20);
    }
    return nullptr;
}

// Asks a program to end through its window, and ends it by its handle if it does not.
void EndProgram(HANDLE process, HWND window, UINT msg, WPARAM wParam)
{
    ::PostMessageW(window, msg, wParam, 0);
    if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, 5000);
    }
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

TEST(QuillprobeProcess, EditorRuleTestCommandOpensCurrentLine)
{
    const std::wstring editor = ProgramPath(L"Quillpen.exe");
    if (::GetFileAttributesW(editor.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "Quillpen.exe is not built";

    DWORD length = ::GetTempPathW(0, nullptr);
    ASSERT_GT(length, 0u);
    std::wstring folder(length, L'\0');
    length = ::GetTempPathW(length, &folder[0]);
    ASSERT_GT(length, 0u);
    folder.resize(length);
    const std::wstring file = folder + L"quillprobe-editor-test.conf";
    const char text[] = "   RewriteRule ^/old/(.*)$ /new/$1 [R=301,L]  \r\nRewriteEngine on\r\n";
    {
        Framework::ScopedFile out(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(out);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(out.Get(), text, sizeof(text) - 1, &written, nullptr));
    }

    {
        ChildProcess pen;
        ASSERT_TRUE(pen.Start(editor, L"\"" + file + L"\""));
        HWND frame = WaitForTopWindow(pen.ProcessId(), L"Orvane.Quillpen.Frame", nullptr, kWindowTimeoutMs);
        ASSERT_NE(nullptr, frame);

        ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_REGEXP_TEST, 0), 0);
        HWND dialog = WaitForChildWindow(pen.ProcessId(), L"#32770", L"Quillprobe");
        ASSERT_NE(nullptr, dialog);
        DWORD probeId = 0;
        ::GetWindowThreadProcessId(dialog, &probeId);
        Framework::ScopedHandle probe(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, probeId));
        ASSERT_TRUE(probe);

        EXPECT_EQ("RewriteRule ^/old/(.*)$ /new/$1 [R=301,L]", Field(dialog, IDC_RULE));
        EXPECT_EQ("^/old/(.*)$", Field(dialog, IDC_REGEXP));
        EXPECT_EQ("/new/$1", Field(dialog, IDC_FORMAT));

        EndProgram(probe.Get(), dialog, WM_COMMAND, IDCANCEL);
        EndProgram(pen.Handle(), frame, WM_CLOSE, 0);
    }
    ::DeleteFileW(file.c_str());
}

}
