#include "Program.h"

#include "MainFrame.h"

#include <Framework/Module.h>

namespace Orvane::Orvanedock {

bool CheckSingleInstance(Framework::ScopedHandle& mutex)
{
    HANDLE created = ::CreateMutexW(nullptr, TRUE, kMutexName);
    const DWORD error = ::GetLastError();
    mutex.Reset(created);
    if (error != ERROR_ALREADY_EXISTS)
        return true;
    if (HWND running = ::FindWindowW(kFrameClassName, nullptr))
        ::SwitchToThisWindow(running, FALSE);
    return false;
}

int RunMainFrame(int showCommand)
{
    Framework::CMessageLoop loop;
    Framework::MessageLoopRegistration registration(&loop);
    int result = 0;
    CMainFrame frame;
    if (frame.CreateEx()) {
        frame.ShowWindow(showCommand);
        result = loop.Run();
    }
    if (frame.IsWindow())
        frame.DestroyWindow();
    return result;
}

}
