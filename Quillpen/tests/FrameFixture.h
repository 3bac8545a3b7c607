#pragma once
// A real editor frame on the test thread, driven by messages through its thread's loop.
#include "EditorThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    Orvane::Quillpen::CMainFrame& Frame() { return loop_->frame_; }
    Orvane::Quillpen::CEditView& View() { return loop_->frame_.View(); }
    Orvane::Quillpen::CMTPadMsgLoop& Loop() { return *loop_; }

    // Runs queued messages through the loop's filters, then the idle update.
    void Pump();
    // Replaces the whole text as an edit (the modified flag is set).
    void SetText(const std::wstring& text);
    // The text with paragraph breaks as CR.
    std::wstring Text();
    // Puts the caret at a position as a key event would report it.
    void PlaceCaret(long position);
    void Select(long start, long end);
    void Command(int id);
    bool FrameAlive() const { return loop_->frame_.m_hWnd && ::IsWindow(loop_->frame_.m_hWnd); }
    std::wstring Caption() { return Frame().GetWindowText(); }
    // Saves a screenshot of the frame into the build folder.
    void Screenshot(const std::wstring& name);

    std::unique_ptr<Orvane::Quillpen::CMTPadMsgLoop> loop_;
    bool sawQuit_ = false;
    WPARAM quitCode_ = 0;
};
