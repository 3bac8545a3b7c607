// The message loop's filters, idle handlers and exit code, and the module's per-thread registry.
#include "Framework/MessageLoop.h"
#include "Framework/Module.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace Framework;

namespace {

constexpr UINT WM_EATEN = WM_APP + 10;
constexpr UINT WM_PASSED = WM_APP + 11;

class EatingFilter : public CMessageFilter {
public:
    int eaten = 0;
    bool PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_EATEN)
            return false;
        ++eaten;
        return true;
    }
};

// Counts idle calls; the first one posts the message that ends the loop.
class CountingIdle : public CIdleHandler {
public:
    int calls = 0;
    HWND target = nullptr;
    WPARAM code = 0;
    bool OnIdle() override
    {
        if (calls++ == 0 && target)
            ::PostMessageW(target, WM_APP + 11, code, 0);
        return false;
    }
};

// A window procedure that counts what is dispatched to it and quits on WM_PASSED.
int g_dispatchedEaten = 0;
int g_dispatchedPassed = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_EATEN)
        ++g_dispatchedEaten;
    if (msg == WM_PASSED) {
        ++g_dispatchedPassed;
        ::PostQuitMessage(static_cast<int>(wParam));
        return 0;
    }
    return ::DefWindowProcW(window, msg, wParam, lParam);
}

TEST(MessageLoop, FiltersIdleHandlersAndExitCode)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Framework.LoopTest";
    ASSERT_TRUE(::RegisterClassW(&wc));
    HWND window = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                    wc.hInstance, nullptr);
    ASSERT_TRUE(window);

    CMessageLoop loop;
    EatingFilter filter;
    CountingIdle idle;
    EXPECT_TRUE(loop.AddMessageFilter(&filter));
    EXPECT_FALSE(loop.AddMessageFilter(&filter));
    EXPECT_TRUE(loop.AddIdleHandler(&idle));
    idle.target = window;
    idle.code = 7;
    ::PostMessageW(window, WM_EATEN, 0, 0);
    ::PostMessageW(window, WM_EATEN, 0, 0);
    // The queue runs empty after the two messages; only then does the idle handler post the end.
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(filter.eaten, 2);
    EXPECT_EQ(g_dispatchedEaten, 0);
    EXPECT_EQ(g_dispatchedPassed, 1);
    EXPECT_EQ(idle.calls, 1);

    EXPECT_TRUE(loop.RemoveMessageFilter(&filter));
    EXPECT_FALSE(loop.RemoveMessageFilter(&filter));
    idle.calls = 0;
    idle.code = 3;
    ::PostMessageW(window, WM_EATEN, 0, 0);
    EXPECT_EQ(loop.Run(), 3);
    EXPECT_EQ(g_dispatchedEaten, 1);
    ::DestroyWindow(window);
}

// Resources are looked for in the module given to Init, else in the executable: never in no module.
TEST(AppModule, ResourceInstanceIsTheInitialisedModuleElseTheExecutable)
{
    const HINSTANCE executable = ::GetModuleHandleW(nullptr);
    const HINSTANCE library = ::GetModuleHandleW(L"kernel32.dll");
    ASSERT_NE(library, nullptr);
    CAppModule module;
    EXPECT_EQ(module.GetResourceInstance(), executable);
    EXPECT_EQ(module.GetModuleInstance(), executable);
    module.Init(library);
    EXPECT_EQ(module.GetResourceInstance(), library);
    EXPECT_EQ(module.GetModuleInstance(), library);
    module.Init(nullptr);
    EXPECT_EQ(module.GetResourceInstance(), executable);
}

TEST(AppModule, OneLoopPerThreadUnderConcurrentRegistration)
{
    CAppModule module;
    module.Init(::GetModuleHandleW(nullptr));
    constexpr int kThreads = 16;
    std::vector<CMessageLoop> loops(kThreads);
    std::atomic<int> failures{0};
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            ++ready;
            while (ready < kThreads)
                std::this_thread::yield();
            for (int round = 0; round < 200; ++round) {
                if (!module.AddMessageLoop(&loops[i]))
                    ++failures;
                if (module.AddMessageLoop(&loops[i]))
                    ++failures; // a second loop on the same thread is refused
                if (module.GetMessageLoop() != &loops[i])
                    ++failures;
                if (!module.RemoveMessageLoop())
                    ++failures;
                if (module.GetMessageLoop() != nullptr)
                    ++failures;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(module.GetMessageLoopCount(), 0u);
    EXPECT_FALSE(module.RemoveMessageLoop());
    EXPECT_FALSE(module.AddMessageLoop(nullptr));
}

}
