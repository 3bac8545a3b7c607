#pragma once
// One editor window thread: its message loop holds the frame, so both live and die together.
#include "MainFrame.h"

#include "Framework/MessageLoop.h"

#include <string>

namespace Orvane { namespace Quillpen {

// What the thread manager hands a new window thread; the thread owns and frees it.
struct WindowThreadStart {
    std::wstring commandLine;
    int showCommand;
};

class CMTPadMsgLoop : public Framework::CMessageLoop {
public:
    CMTPadMsgLoop() = default;
    ~CMTPadMsgLoop() override = default;

    // The open find dialog first (its own keys), then the frame's accelerators.
    bool PreTranslateMessage(MSG* msg) override;
    bool OnIdle(int idleCount) override;

    // Creates the frame, opens the command line's file, shows the window and runs the loop.
    int RunEditor(const wchar_t* commandLine, int showCommand);

    CMainFrame frame_;
};

DWORD WINAPI EditorThreadProc(LPVOID parameter);

}}
