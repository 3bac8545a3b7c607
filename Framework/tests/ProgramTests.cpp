// Program start-up, loop registration, window placement and the scoped window states.
#include "Framework/MessageLoop.h"
#include "Framework/Module.h"
#include "Framework/ProgramStart.h"
#include "Framework/ScopedState.h"
#include "Framework/WindowPlacement.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

using namespace Framework;

namespace {

TEST(ProgramStart, BodyResultOrFailureCodeAfterAThrow)
{
    ProgramSetup setup;
    setup.library = L"RICHED20.DLL";
    setup.failureCode = 7;
    bool libraryLoaded = false;
    EXPECT_EQ(RunProgram(::GetModuleHandleW(nullptr), setup,
                         [&] {
                             libraryLoaded = ::GetModuleHandleW(L"RICHED20.DLL") != nullptr;
                             return 3;
                         }),
              3);
    EXPECT_TRUE(libraryLoaded);
    EXPECT_EQ(RunProgram(nullptr, setup, []() -> int { throw std::runtime_error("lost"); }), 7);
    EXPECT_EQ(RunProgram(nullptr, setup, []() -> int { throw 1; }), 7);
    setup.library = L"no-such-library.dll";
    EXPECT_EQ(RunProgram(nullptr, setup, [] { return 4; }), 4);
    Module().Init(::GetModuleHandleW(nullptr));
}

TEST(MessageLoopRegistration, RegistersForTheScopeOnly)
{
    std::thread([] {
        CMessageLoop first;
        CMessageLoop second;
        {
            MessageLoopRegistration outer(&first);
            EXPECT_TRUE(outer.Added());
            EXPECT_EQ(Module().GetMessageLoop(), &first);
            {
                // A second loop on the same thread is refused, and its end leaves the first in place.
                MessageLoopRegistration inner(&second);
                EXPECT_FALSE(inner.Added());
            }
            EXPECT_EQ(Module().GetMessageLoop(), &first);
        }
        EXPECT_EQ(Module().GetMessageLoop(), nullptr);
    }).join();
}

TEST(WindowPlacement, CentresOnTheWorkArea)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"placed", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window);
    RECT area{};
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    ASSERT_TRUE(CenterOnWorkArea(window));
    RECT placed{};
    ASSERT_TRUE(::GetWindowRect(window, &placed));
    EXPECT_EQ(placed.left, area.left + ((area.right - area.left) - 200) / 2);
    EXPECT_EQ(placed.top, area.top + ((area.bottom - area.top) - 100) / 2);
    EXPECT_EQ(placed.right - placed.left, 200);

    // A window larger than the area keeps its top-left corner inside it.
    ASSERT_TRUE(::SetWindowPos(window, nullptr, 0, 0, area.right - area.left + 400, area.bottom - area.top + 400,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(CenterOnWorkArea(window));
    ASSERT_TRUE(::GetWindowRect(window, &placed));
    EXPECT_EQ(placed.left, area.left);
    EXPECT_EQ(placed.top, area.top);
    ::DestroyWindow(window);
    EXPECT_FALSE(CenterOnWorkArea(window));
}

TEST(ScopedState, RedrawComesBackAndTheCursorIsRestored)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"drawn", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(window);
    HCURSOR arrow = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    ::SetCursor(arrow);
    {
        RedrawSuspension noRedraw(window);
        EXPECT_FALSE(::IsWindowVisible(window)); // WM_SETREDRAW FALSE takes the visible style off
        WaitCursor wait;
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    }
    EXPECT_TRUE(::IsWindowVisible(window));
    EXPECT_EQ(::GetCursor(), arrow);
    ::DestroyWindow(window);
}

}
