// Processes started by a process: found in a process snapshot, waited for by their windows, and
// ended by id, so that no program a test started outlives the test.
#include "TestSupport/WindowDriver.h"

#include "Framework/Handles.h"

#include <tlhelp32.h>

#include <algorithm>

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
// can be reused: a process created before the parent is not its child.
std::vector<DWORD> ChildrenIn(const std::vector<ProcessEntry>& list, DWORD parent)
{
    std::vector<DWORD> children;
    ULONGLONG parentCreated = 0;
    const bool parentKnown = CreationTime(parent, parentCreated);
    for (const ProcessEntry& entry : list) {
        if (entry.parent != parent || entry.id == parent || entry.id == 0)
            continue;
        ULONGLONG created = 0;
        if (parentKnown && CreationTime(entry.id, created) && created < parentCreated)
            continue;
        children.push_back(entry.id);
    }
    return children;
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
    // Every process below this one, found before any is ended: a grandchild whose parent has
    // ended can no longer be told from a stranger.
    const std::vector<ProcessEntry> list = ProcessList();
    std::vector<DWORD> descendants = ChildrenIn(list, ::GetCurrentProcessId());
    for (size_t i = 0; i < descendants.size(); ++i) {
        for (DWORD child : ChildrenIn(list, descendants[i]))
            if (std::find(descendants.begin(), descendants.end(), child) == descendants.end())
                descendants.push_back(child);
    }
    // The youngest generation first, so that none starts another process while its parent goes.
    for (auto id = descendants.rbegin(); id != descendants.rend(); ++id) {
        Framework::ScopedHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, *id));
        if (!process)
            continue;
        if (::WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0 && ::TerminateProcess(process.Get(), 99))
            ::WaitForSingleObject(process.Get(), 5000);
    }
}

}
