#include "ModuleText.h"

#include "resource.h"

#include <Framework/Resources.h>

namespace Orvane { namespace Quillon {

std::wstring ModuleString(UINT id)
{
    return Framework::LoadResourceString(id);
}

void ShowModuleError(HWND owner, UINT textId)
{
    ::MessageBoxW(owner, ModuleString(textId).c_str(), ModuleString(IDS_ERROR_CAPTION).c_str(), MB_OK | MB_ICONERROR);
}

}}
