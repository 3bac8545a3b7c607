#include "Framework/ShellStart.h"

#include "Framework/Handles.h"

#include <shellapi.h>

namespace Framework {

namespace {

bool Start(HWND owner, const std::wstring& program, const std::wstring& parameters, int show, ScopedHandle* process)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | (process ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.hwnd = owner;
    info.lpFile = program.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = show;
    if (!::ShellExecuteExW(&info))
        return false;
    if (process)
        process->Reset(info.hProcess);
    return true;
}

}

bool StartProgram(HWND owner, const std::wstring& program, const std::wstring& parameters, int show)
{
    return Start(owner, program, parameters, show, nullptr);
}

bool RunAndWait(HWND owner, const std::wstring& program, const std::wstring& parameters, int show, DWORD& exitCode)
{
    exitCode = 0;
    ScopedHandle process;
    if (!Start(owner, program, parameters, show, &process))
        return false;
    if (process) {
        // A wait that fails leaves the process running, and its code STILL_ACTIVE: no success.
        ::WaitForSingleObject(process.Get(), INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(process.Get(), &code))
            exitCode = code;
    }
    return true;
}

}
