#pragma once
// The frame of a window program's entry point: the module, the common controls, a library the
// windows need, and one stop for exceptions, so that none leaves the entry point.
#include <windows.h>
#include <commctrl.h>

#include <functional>

namespace Framework {

struct ProgramSetup {
    // ICC_* classes registered before the body runs.
    DWORD commonControls = ICC_WIN95_CLASSES;
    // A library kept loaded while the body runs ("RICHED20.DLL"), or null. The body runs without
    // it when it cannot be loaded; windows of its classes then cannot be created.
    const wchar_t* library = nullptr;
    // The exit code when the body throws.
    int failureCode = 0;
};

// Runs the body between the module's Init and Term; its result is the program's exit code.
int RunProgram(HINSTANCE instance, const ProgramSetup& setup, const std::function<int()>& body) noexcept;

}
