#pragma once
// Resources of the running module: strings and icons.
#include <windows.h>

#include <string>

namespace Framework {

// The string resource, empty when there is none.
std::wstring LoadResourceString(UINT id, HINSTANCE instance = nullptr);

// The icon resource in the size the system metrics give (SM_CXICON/SM_CYICON,
// SM_CXSMICON/SM_CYSMICON, ...); null when it cannot be loaded. The caller owns it.
HICON LoadIconOfSize(UINT id, int widthMetric, int heightMetric, HINSTANCE instance = nullptr);

}
