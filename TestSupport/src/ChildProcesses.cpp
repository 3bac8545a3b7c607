// Processes that a test started indirectly (through the shell, or through the code under test),
// found as child processes of the test by their parent's id and ended by their own id.
#include "TestSupport/WindowDriver.h"

#include "Framework/Handles.h"

#include <tlhelp32.h>

#include <cwctype>

namespace TestSupport {

namespace {

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Programs of the system folder (the desktop process, services) may be children of a test under
// Wine; they serve every test and are never ended.
bool IsSystemProgram(DWORD processId)
{
    Framework::ScopedHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return true;
    std::wstring path(MAX_PATH * 4, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.Get(), 0, &path[0], &size))
        return true;
    path.resize(size);
    wchar_t windows[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return true;
    const std::wstring folder = Lower(std::wstring(windows, length)) + L"\\";
    return Lower(path).compare(0, folder.size(), folder) == 0;
}

}

std::vector<DWORD> ChildProcessIds(DWORD parent)
{
    std::vector<DWORD> children;
    Framework::ScopedFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return children;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID == parent && entry.th32ProcessID != parent)
            children.push_back(entry.th32ProcessID);
    }
    return children;
}

HWND WaitForChildProcessWindow(DWORD parent, const wchar_t* cls, const wchar_t* title, DWORD ms)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (DWORD child : ChildProcessIds(parent)) {
                std::vector<HWND> windows = FindTopWindows(child, cls, title);
                if (!windows.empty()) {
                    found = windows.front();
                    return true;
                }
            }
            return false;
        },
        ms);
    return found;
}

void EndChildProcesses()
{
    EndChildProcessesOf(::GetCurrentProcessId());
}

void EndChildProcessesOf(DWORD parent)
{
    for (DWORD child : ChildProcessIds(parent)) {
        if (IsSystemProgram(child))
            continue;
        Framework::ScopedHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, child));
        if (!process)
            continue;
        ::TerminateProcess(process.Get(), 1);
        ::WaitForSingleObject(process.Get(), 10000);
    }
}

}
