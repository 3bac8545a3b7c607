// Processes started by a process: found in a process snapshot, waited for by their windows, and
// ended by id, so that no program a test started outlives the test.
#include "TestSupport/WindowDriver.h"

#include "Framework/Handles.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>

namespace TestSupport {

namespace {

struct ProcessEntry {
    DWORD id;
    DWORD parent;
};

std::vector<ProcessEntry> ProcessList()
{
    std::vector<ProcessEntry> list;
    Framework::ScopedFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return list;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry))
        list.push_back({entry.th32ProcessID, entry.th32ParentProcessID});
    return list;
}

// The creation time of a process; false when it cannot be asked.
bool CreationTime(DWORD processId, ULONGLONG& time)
{
    Framework::ScopedHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!process || !::GetProcessTimes(process.Get(), &created, &exited, &kernel, &user))
        return false;
    time = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    return true;
}

// The children of parent in the list. A snapshot names a parent only by id, and an ended parent's id
// can be reused: a process created before the parent is not its child. Where the parent's creation
// time cannot be asked (it is still starting), floor stands for it.
std::vector<DWORD> ChildrenIn(const std::vector<ProcessEntry>& list, DWORD parent, ULONGLONG floor = 0)
{
    std::vector<DWORD> children;
    ULONGLONG parentCreated = 0;
    if (!CreationTime(parent, parentCreated))
        parentCreated = floor;
    for (const ProcessEntry& entry : list) {
        if (entry.parent != parent || entry.id == parent || entry.id == 0)
            continue;
        ULONGLONG created = 0;
        if (CreationTime(entry.id, created) && created < parentCreated)
            continue;
        children.push_back(entry.id);
    }
    return children;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Whether Wine has finished starting the process (it answers its image name only then).
bool HasStarted(HANDLE process)
{
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    return ::QueryFullProcessImageNameW(process, 0, &path[0], &size) != FALSE;
}

// Programs of the Windows folder (Wine's desktop and services) can be started by whichever program
// first needs them, a test among them; they serve every program of the prefix and are never ended.
// A process that cannot be opened is left alone. Wine answers no image name for a process that is
// still starting (ERROR_INVALID_HANDLE): that one is a program just started, not a running service.
bool IsSystemProgram(DWORD processId)
{
    Framework::ScopedHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return true;
    std::wstring path(32768, L'\0');
    DWORD size = static_cast<DWORD>(path.size());
    if (!::QueryFullProcessImageNameW(process.Get(), 0, &path[0], &size))
        return false;
    path.resize(size);
    std::wstring windows(MAX_PATH, L'\0');
    const UINT length = ::GetWindowsDirectoryW(&windows[0], MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return true;
    windows.resize(length);
    const std::wstring folder = Lower(windows) + L"\\";
    return Lower(path).compare(0, folder.size(), folder) == 0;
}

}

std::vector<DWORD> ChildProcessIds(DWORD parent)
{
    return ChildrenIn(ProcessList(), parent);
}

HWND WaitForChildProcessWindow(DWORD parent, const wchar_t* cls, const wchar_t* title, DWORD ms)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            const std::vector<DWORD> children = ChildProcessIds(parent);
            for (HWND window = ::FindWindowExW(nullptr, nullptr, cls, title); window;
                 window = ::FindWindowExW(nullptr, window, cls, title)) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                if (::IsWindowVisible(window) && std::find(children.begin(), children.end(), owner) != children.end()) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        ms, false);
    return found;
}

void EndChildProcesses()
{
    EndChildProcessesOf(::GetCurrentProcessId());
}

void EndChildProcessesOf(DWORD top)
{
    // Every process below top, found before any is ended: a grandchild whose parent has ended can
    // no longer be told from a stranger. Below a system program nothing is ours, and nothing
    // created before top is below it; neither top nor this process is ended.
    const DWORD self = ::GetCurrentProcessId();
    ULONGLONG topCreated = 0;
    CreationTime(top, topCreated);
    const std::vector<ProcessEntry> list = ProcessList();
    std::vector<DWORD> descendants;
    std::vector<DWORD> parents{top};
    while (!parents.empty()) {
        const DWORD parent = parents.back();
        parents.pop_back();
        for (DWORD child : ChildrenIn(list, parent, topCreated)) {
            if (child == self || child == top || std::find(descendants.begin(), descendants.end(), child) != descendants.end() ||
                IsSystemProgram(child))
                continue;
            descendants.push_back(child);
            parents.push_back(child);
        }
    }
    // The youngest first, so that none starts another process while its parent goes. A process that
    // Wine is still starting is given a moment to finish: ended half-started, its parent's creation
    // call and Wine's server can fail.
    for (auto id = descendants.rbegin(); id != descendants.rend(); ++id) {
        Framework::ScopedHandle process(
            ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, *id));
        if (!process)
            continue;
        WaitUntil([&] { return HasStarted(process.Get()) || ::WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0; },
                  2000, false);
        if (::WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0 && ::TerminateProcess(process.Get(), 99))
            ::WaitForSingleObject(process.Get(), 5000);
    }
}

}
