#include "ModulePrograms.h"

#include "ModuleState.h"

#include <Framework/Handles.h>

#include <shellapi.h>

namespace Orvane { namespace Quillon {

namespace {

// With an exit code wanted, waits for the program to end.
bool Start(HWND owner, const wchar_t* name, const std::wstring& parameters, DWORD* exitCode)
{
    const bool wait = exitCode != nullptr;
    const std::wstring program = ModuleDirectory() + name;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | (wait ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.hwnd = owner;
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info))
        return false;
    if (wait && info.hProcess) {
        Framework::ScopedHandle process(info.hProcess);
        ::WaitForSingleObject(process.Get(), INFINITE);
        DWORD code = 0;
        if (::GetExitCodeProcess(process.Get(), &code))
            *exitCode = code;
    }
    return true;
}

}

bool StartProgram(HWND owner, const wchar_t* name, const std::wstring& parameters)
{
    return Start(owner, name, parameters, nullptr);
}

bool RunAndWait(HWND owner, const wchar_t* name, const std::wstring& parameters, DWORD& exitCode)
{
    exitCode = 0;
    return Start(owner, name, parameters, &exitCode);
}

}}
