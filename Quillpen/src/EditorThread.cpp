#include "EditorThread.h"

#include "CommandLine.h"

#include "Framework/Module.h"
#include "Framework/Paths.h"

#include <memory>

namespace Quillpen {

bool CMTPadMsgLoop::PreTranslateMessage(MSG* msg)
{
    // Keys typed in the modeless find or replace dialog belong to it: Tab, Enter and Esc work
    // there, and Ctrl+V or F3 there must not act on the document.
    HWND dialog = m_frame.View().FindDialogWindow();
    if (dialog && ::IsWindow(dialog) && ::IsDialogMessageW(dialog, msg))
        return true;
    if (m_frame.m_hWnd && m_frame.m_hAccel && ::TranslateAcceleratorW(m_frame.m_hWnd, m_frame.m_hAccel, msg))
        return true;
    return false;
}

bool CMTPadMsgLoop::OnIdle(int)
{
    m_frame.UpdateUIState();
    return false;
}

int CMTPadMsgLoop::RunEditor(const wchar_t* commandLine, int showCommand)
{
    if (!m_frame.CreateEx())
        return 0;
    std::wstring path = PathFromCommandLine(commandLine ? commandLine : L"");
    std::wstring fullPath;
    size_t nameStart = 0;
    // A line that names no file (empty, a lone quote, a path that cannot be made absolute, a
    // folder) opens an untitled window.
    if (Framework::ResolveFullPath(path, fullPath, &nameStart) && nameStart < fullPath.size())
        m_frame.OpenConfigFile(fullPath, fullPath.substr(nameStart));
    else
        m_frame.NewConfigFile();
    m_frame.ShowWindow(showCommand);
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

}
