#pragma once
// A GUID as registry text: upper-case hexadecimal in braces, "{8BC324A4-8A49-4E7A-B2BF-6ED3E5630C2F}".
#include <windows.h>
#include <string>

namespace Framework {

std::wstring GuidText(REFGUID guid);

}
