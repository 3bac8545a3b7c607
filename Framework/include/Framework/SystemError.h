#pragma once
// Texts of system error codes.
#include <windows.h>

#include <string>

namespace Framework {

// The system's message text for an error code (default language), without a trailing line break.
std::wstring SystemErrorText(DWORD code);

}
