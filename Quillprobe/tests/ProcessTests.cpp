// Quillprobe.exe started as its own process and read from this one.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>

#include <Framework/Handles.h>
#include <Framework/Text.h>

#include "WindowDriver.h"
#include "resource.h"
#include "Quillpen/res/resource.h"

using namespace ProbeTests;

namespace {

std::wstring Folder(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

// The programs of the build lie in bin/, beside this test's tests/ folder.
std::wstring ProgramPath(const wchar_t* name)
{
    return Folder(Framework::ModuleFileName()) + L"..\\bin\\" + name;
}

struct WindowSearch {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM param)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window) && WindowText(window) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD processId, const wchar_t* title)
{
    for (int i = 0; i < 1000; ++i) {
        WindowSearch search{processId, title, nullptr};
        ::EnumWindows(&FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        ::Sleep(20);
    }
    return nullptr;
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

HWND WaitForClassWindow(DWORD processId, const wchar_t* className)
{
    for (int i = 0; i < 1000; ++i) {
        for (HWND window = ::FindWindowExW(nullptr, nullptr, className, nullptr); window;
             window = ::FindWindowExW(nullptr, window, className, nullptr)) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == processId)
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

// A started program, ended by its handle when the test is done with it.
class StartedProgram {
public:
    explicit StartedProgram(const std::wstring& commandLine)
    {
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        std::wstring line = commandLine;
        started_ = ::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &info_) != FALSE;
        if (started_) {
            process_.Reset(info_.hProcess);
            thread_.Reset(info_.hThread);
        }
    }
    ~StartedProgram()
    {
        if (started_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.Get(), 1);
            ::WaitForSingleObject(process_.Get(), 5000);
        }
    }
    bool Started() const { return started_; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return process_.Get(); }

private:
    bool started_ = false;
    PROCESS_INFORMATION info_{};
    Framework::ScopedHandle process_;
    Framework::ScopedHandle thread_;
};

std::string Field(HWND dialog, int id)
{
    return Narrow(WindowText(::GetDlgItem(dialog, id)));
}

TEST(QuillprobeProcess, QuotedLineArrivesWholeAndTestRuns)
{
    const std::wstring program = ProgramPath(L"Quillprobe.exe");
    StartedProgram probe(L"\"" + program + L"\" \"RewriteRule ^/(\\w+)$ /x.asp?p=$1 [L,NC]\"");
    ASSERT_TRUE(probe.Started()) << ::GetLastError();
    HWND dialog = WaitForWindow(probe.Id(), L"Quillprobe");
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
    StartedProgram probe(L"\"" + ProgramPath(L"Quillprobe.exe") + L"\" RewriteRule ^/a$ /b");
    ASSERT_TRUE(probe.Started());
    HWND dialog = WaitForWindow(probe.Id(), L"Quillprobe");
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
        StartedProgram pen(L"\"" + editor + L"\" \"" + file + L"\"");
        ASSERT_TRUE(pen.Started());
        HWND frame = WaitForClassWindow(pen.Id(), L"Orvane.Quillpen.Frame");
        ASSERT_NE(nullptr, frame);

        ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_REGEXP_TEST, 0), 0);
        HWND dialog = WaitForChildWindow(pen.Id(), L"#32770", L"Quillprobe");
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
