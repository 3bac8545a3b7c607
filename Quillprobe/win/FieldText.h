#pragma once
// The 8-bit text of the tester's fields: the rule and its parts are configuration text, in the
// system's ANSI code page.
#include <windows.h>

#include <string>

namespace Orvane { namespace Quillprobe {

std::string FieldText(HWND field);
void SetFieldText(HWND field, const std::string& text);

}}
