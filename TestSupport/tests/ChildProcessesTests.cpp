// The child-process helpers on real processes: copies of this program that start further copies and
// stay (or show a window) as the environment tells them, before any test runs.
#include "TestSupport/WindowDriver.h"

#include "Framework/Handles.h"
#include "Framework/Paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace TestSupport;

namespace {

// "ms[,ms...]": this copy starts a copy with the rest of the list, then stays the first time and
// ends (a copy that a failed test leaves behind thus ends by itself). kWindowVariable: the copy shows a window with that title meanwhile.
// kDoneVariable: the last copy of the chain creates that file when it ends by itself.
constexpr wchar_t kChainVariable[] = L"QUILLON_TEST_CHILD_CHAIN";
constexpr wchar_t kWindowVariable[] = L"QUILLON_TEST_CHILD_WINDOW";
constexpr wchar_t kDoneVariable[] = L"QUILLON_TEST_CHILD_DONE";

std::wstring Variable(const wchar_t* name)
{
    std::wstring value(32767, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(name, &value[0], static_cast<DWORD>(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

// Starts a copy of this program with the chain (and window title) in its environment.
bool StartCopy(const std::wstring& chain, const std::wstring& window, PROCESS_INFORMATION& info)
{
    ::SetEnvironmentVariableW(kChainVariable, chain.c_str());
    ::SetEnvironmentVariableW(kWindowVariable, window.empty() ? nullptr : window.c_str());
    std::wstring program = Framework::ModuleFileName();
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const bool started = ::CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                          &startup, &info) != FALSE;
    ::SetEnvironmentVariableW(kChainVariable, nullptr);
    ::SetEnvironmentVariableW(kWindowVariable, nullptr);
    return started;
}

// Runs before main: a copy started by a test does its part of the chain and never runs the tests.
bool RunAsCopyWhenAsked()
{
    const std::wstring chain = Variable(kChainVariable);
    if (chain.empty())
        return false;
    const std::wstring window = Variable(kWindowVariable);
    const size_t comma = chain.find(L',');
    const std::wstring first = chain.substr(0, comma);
    if (comma != std::wstring::npos) {
        PROCESS_INFORMATION info{};
        if (!StartCopy(chain.substr(comma + 1), std::wstring(), info))
            ::ExitProcess(3);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    const DWORD stay = static_cast<DWORD>(std::wcstoul(first.c_str(), nullptr, 10));
    if (!window.empty()) {
        HWND shown = ::CreateWindowExW(0, L"Static", window.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                       nullptr, nullptr, nullptr, nullptr);
        if (!shown)
            ::ExitProcess(4);
        const ULONGLONG end = ::GetTickCount64() + stay;
        while (::GetTickCount64() < end) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            PumpMessages();
        }
    } else {
        ::Sleep(stay);
    }
    const std::wstring done = Variable(kDoneVariable);
    if (comma == std::wstring::npos && !done.empty()) {
        Framework::ScopedFile file(::CreateFileW(done.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (!file)
            ::ExitProcess(5);
    }
    ::ExitProcess(0);
}

const bool kIsCopy = RunAsCopyWhenAsked();

bool Contains(const std::vector<DWORD>& ids, DWORD id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }

// A started copy, ended by its handle when the test has not ended it.
struct Copy {
    PROCESS_INFORMATION info{};
    ~Copy()
    {
        if (info.hProcess) {
            ::TerminateProcess(info.hProcess, 1);
            ::WaitForSingleObject(info.hProcess, 5000);
            ::CloseHandle(info.hProcess);
            ::CloseHandle(info.hThread);
        }
    }
    bool Ended(DWORD ms) const { return ::WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0; }
};

// The one child of the process once it has started it; 0 after the timeout.
DWORD WaitForOnlyChild(DWORD parent)
{
    std::vector<DWORD> children;
    WaitUntil([&] { return (children = ChildProcessIds(parent)).size() == 1; }, 20000, false);
    return children.size() == 1 ? children.front() : 0;
}

TEST(ChildProcesses, IdsAreTheDirectChildrenOnly)
{
    ASSERT_FALSE(kIsCopy);
    Copy child;
    ASSERT_TRUE(StartCopy(L"60000,60000", L"", child.info));
    const DWORD grandchild = WaitForOnlyChild(child.info.dwProcessId);
    ASSERT_NE(0u, grandchild);

    const std::vector<DWORD> mine = ChildProcessIds(::GetCurrentProcessId());
    EXPECT_TRUE(Contains(mine, child.info.dwProcessId));
    EXPECT_FALSE(Contains(mine, grandchild));
    EXPECT_FALSE(Contains(mine, ::GetCurrentProcessId()));
    EXPECT_TRUE(ChildProcessIds(grandchild).empty());

    Framework::ScopedHandle second(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, grandchild));
    ASSERT_TRUE(second);
    EndChildProcesses();
    EXPECT_TRUE(child.Ended(0));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(second.Get(), 0));
}

TEST(ChildProcesses, EndingReachesEveryGeneration)
{
    // first -> second -> third, each staying until ended (or a minute).
    Copy first;
    ASSERT_TRUE(StartCopy(L"60000,60000,60000", L"", first.info));
    const DWORD second = WaitForOnlyChild(first.info.dwProcessId);
    ASSERT_NE(0u, second);
    const DWORD third = WaitForOnlyChild(second);
    ASSERT_NE(0u, third);
    Framework::ScopedHandle secondHandle(::OpenProcess(SYNCHRONIZE, FALSE, second));
    Framework::ScopedHandle thirdHandle(::OpenProcess(SYNCHRONIZE, FALSE, third));
    ASSERT_TRUE(secondHandle && thirdHandle);

    EndChildProcesses();
    EXPECT_TRUE(first.Ended(0));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(secondHandle.Get(), 0));
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thirdHandle.Get(), 0));
    EXPECT_TRUE(ChildProcessIds(::GetCurrentProcessId()).empty());
}

TEST(ChildProcesses, WindowIsFoundOnlyInAChildProcess)
{
    const std::wstring title = L"Child window " + std::to_wstring(::GetCurrentProcessId());
    // The same title in this process is not a child's window.
    HWND own = ::CreateWindowExW(0, L"Static", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(own);
    EXPECT_EQ(nullptr, WaitForChildProcessWindow(::GetCurrentProcessId(), L"Static", title.c_str(), 500));

    Copy child;
    ASSERT_TRUE(StartCopy(L"60000", title, child.info));
    HWND found = WaitForChildProcessWindow(::GetCurrentProcessId(), L"Static", title.c_str(), 20000);
    ASSERT_NE(nullptr, found);
    EXPECT_NE(own, found);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(found, &owner);
    EXPECT_EQ(child.info.dwProcessId, owner);
    // Another title, or another parent, finds nothing.
    EXPECT_EQ(nullptr, WaitForChildProcessWindow(::GetCurrentProcessId(), L"Static", L"No such window", 300));
    EXPECT_EQ(nullptr, WaitForChildProcessWindow(child.info.dwProcessId, L"Static", title.c_str(), 300));
    ::DestroyWindow(own);
    EndChildProcesses();
    EXPECT_TRUE(child.Ended(0));
}

}
