#include "EditorThread.h"

#include "CommandLine.h"

#include "Framework/Module.h"
#include "Framework/Paths.h"

#include <memory>

namespace Orvane { namespace Quillpen {

bool CMTPadMsgLoop::PreTranslateMessage(MSG* msg)
{
    // Keys typed in the modeless find or replace dialog belong to it: Tab, Enter and Esc work
    // there, and Ctrl+V or F3 there must not act on the document.
    HWND dialog = frame_.View().FindDialogWindow();
    if (dialog && ::IsWindow(dialog) && ::IsDialogMessageW(dialog, msg))
        return true;
    if (frame_.m_hWnd && frame_.m_hAccel && ::TranslateAcceleratorW(frame_.m_hWnd, frame_.m_hAccel, msg))
        return true;
    return false;
}

bool CMTPadMsgLoop::OnIdle(int)
{
    frame_.UpdateUIState();
    return false;
}

int CMTPadMsgLoop::RunEditor(const wchar_t* commandLine, int showCommand)
{
    if (!frame_.CreateEx())
        return 0;
    std::wstring path = PathFromCommandLine(commandLine ? commandLine : L"");
    std::wstring fullPath;
    size_t nameStart = 0;
    // A line that names no file (empty, a lone quote, a path that cannot be made absolute, a
    // folder) opens an untitled window.
    if (Framework::ResolveFullPath(path, fullPath, &nameStart) && nameStart < fullPath.size())
        frame_.OpenConfigFile(fullPath, fullPath.substr(nameStart));
    else
        frame_.NewConfigFile();
    frame_.ShowWindow(showCommand);
    return Run();
}

DWORD WINAPI EditorThreadProc(LPVOID parameter)
{
    std::unique_ptr<WindowThreadStart> start(static_cast<WindowThreadStart*>(parameter));
    try {
        CMTPadMsgLoop loop;
        Framework::MessageLoopRegistration registration(&loop);
        int result = loop.RunEditor(start ? start->commandLine.c_str() : L"", start ? start->showCommand : SW_SHOWNORMAL);
        start.reset();
        return static_cast<DWORD>(result);
    } catch (...) {
        return 0;
    }
}

}}
