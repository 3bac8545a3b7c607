// The thread manager: at most 63 window threads, the box for one more, and the run that ends
// when the last thread ends.
#include "EditorThread.h"
#include "WindowThreadManager.h"

#include "TestSupport/WindowDriver.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace Orvane::Quillpen;

namespace {

HANDLE g_release = nullptr;
std::atomic<int> g_started{0};
DWORD g_mainThread = 0;

DWORD WINAPI WaitingThread(LPVOID parameter)
{
    std::unique_ptr<WindowThreadStart> start(static_cast<WindowThreadStart*>(parameter));
    ++g_started;
    ::WaitForSingleObject(g_release, 10000);
    return 0;
}

// The first thread asks the manager for one more window, as the new-window message does.
DWORD WINAPI AskingThread(LPVOID parameter)
{
    std::unique_ptr<WindowThreadStart> start(static_cast<WindowThreadStart*>(parameter));
    if (++g_started == 1)
        ::PostThreadMessageW(g_mainThread, CWindowThreadManager::kNewWindowMessage, 0, 0);
    ::Sleep(50);
    return 0;
}

TEST(WindowThreadManager, SixtyThreeThreadsThenTheBox)
{
    Framework::ScopedHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(release);
    g_release = release.Get();
    g_started = 0;
    {
        CWindowThreadManager manager(&WaitingThread);
        for (DWORD i = 0; i < CWindowThreadManager::kMaxThreads; ++i)
            ASSERT_NE(manager.AddWindowThread(L"", SW_SHOWNORMAL), 0u);
        EXPECT_EQ(manager.Count(), 63u);
        TestSupport::DialogAnswerer answer(L"Quillpen", IDOK);
        EXPECT_EQ(manager.AddWindowThread(L"", SW_SHOWNORMAL), 0u);
        ASSERT_TRUE(answer.Join());
        EXPECT_NE(answer.StaticTexts().find(L"ERROR: Cannot create ANY MORE threads!!!"), std::wstring::npos);
        EXPECT_EQ(manager.Count(), 63u);
        ::SetEvent(g_release);
        while (manager.Count() > 0)
            manager.WaitOnce();
    }
    EXPECT_EQ(g_started.load(), 63);
}

TEST(WindowThreadManager, RunOpensMoreWindowsOnRequestAndReturnsOne)
{
    g_started = 0;
    g_mainThread = ::GetCurrentThreadId();
    CWindowThreadManager manager(&AskingThread);
    EXPECT_EQ(manager.Run(L"", SW_SHOWNORMAL), 1);
    EXPECT_EQ(g_started.load(), 2);
    EXPECT_EQ(manager.Count(), 0u);
}

}
