#pragma once
// Starting the programs that lie beside the module (the editor, the converter) through the shell.
// The shell shows no UI of its own: the caller reports a failure.
#include <windows.h>

#include <string>

namespace Orvane { namespace Quillon {

// Starts the program and does not wait for it; whether it could be started.
bool StartProgram(HWND owner, const wchar_t* name, const std::wstring& parameters);
// Runs the program and waits for it to end, without a time limit and without processing messages;
// whether it could be started. exitCode is the program's, 0 when it is not known.
bool RunAndWait(HWND owner, const wchar_t* name, const std::wstring& parameters, DWORD& exitCode);

}}
