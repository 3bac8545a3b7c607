#pragma once
// Starting a program through the shell (default verb, no working folder) with no UI of the shell's
// own: a missing program fails at once instead of stopping the caller in a system box, and the
// caller says so in its own words.
#include <windows.h>

#include <string>

namespace Framework {

// Starts the program and does not wait for it; empty parameters pass none. Whether it started.
bool StartProgram(HWND owner, const std::wstring& program, const std::wstring& parameters, int show);

// Starts the program and waits for it to end, without a time limit and without processing messages;
// whether it started. exitCode: the program's (STILL_ACTIVE when the wait failed), 0 when no
// process handle came back.
bool RunAndWait(HWND owner, const std::wstring& program, const std::wstring& parameters, int show, DWORD& exitCode);

}
