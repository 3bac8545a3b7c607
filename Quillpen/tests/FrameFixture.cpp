#include "FrameFixture.h"

#include "Framework/Module.h"
#include "TestSupport/WindowDriver.h"

#include <commctrl.h>

void FrameTest::SetUpTestSuite()
{
    static bool once = false;
    if (once)
        return;
    once = true;
    Framework::Module().Init(::GetModuleHandleW(nullptr));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::LoadLibraryW(L"RICHED20.DLL");
}

void FrameTest::SetUp()
{
    loop_ = std::make_unique<Orvane::Quillpen::CMTPadMsgLoop>();
    ASSERT_TRUE(loop_->frame_.CreateEx());
    loop_->frame_.NewConfigFile();
    // Not shown: under Wine without a window manager, every shown top-level window costs seconds
    // when it is destroyed. The screenshot test shows its frame.
    ::SetWindowPos(loop_->frame_.m_hWnd, nullptr, 0, 0, 700, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
}

void FrameTest::TearDown()
{
    if (FrameAlive()) {
        View().SetModify(false);
        ::DestroyWindow(Frame().m_hWnd);
    }
    Pump();
    loop_.reset();
}

void FrameTest::Pump()
{
    MSG msg{};
    for (int round = 0; round < 3; ++round) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                sawQuit_ = true;
                quitCode_ = msg.wParam;
                continue;
            }
            if (!loop_->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        loop_->OnIdle(0);
    }
}

void FrameTest::SetText(const std::wstring& text)
{
    View().SetSel(0, -1);
    View().ReplaceSel(text, true);
    Pump();
}

std::wstring FrameTest::Text() { return View().GetTextRange(0, View().GetTextLength()); }

void FrameTest::PlaceCaret(long position) { Select(position, position); }

void FrameTest::Select(long start, long end)
{
    View().SetSel(start, end);
    // A released Shift key is a key event that moves nothing.
    View().SendMessage(WM_KEYUP, VK_SHIFT, 0xC0000001);
    Pump();
}

void FrameTest::Command(int id)
{
    Frame().SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
}

void FrameTest::Screenshot(const std::wstring& name)
{
    Frame().ShowWindow(SW_SHOWNORMAL);
    ::RedrawWindow(Frame().m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    ::Sleep(200);
    TestSupport::SaveWindowScreenshot(Frame().m_hWnd, TestSupport::BuildFolder() + L"\\" + name);
}
