#pragma once
// Texts of the module's own string table, and the error box that the page and its dialogs show.
#include <windows.h>

#include <string>

namespace Orvane { namespace Quillon {

// The module's string resource id; empty when it is missing.
std::wstring ModuleString(UINT id);
// An error box over owner with the module's string textId under the module's error caption.
void ShowModuleError(HWND owner, UINT textId);

}}
