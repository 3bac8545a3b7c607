#include "HtmlHelpEntry.h"

#include <Framework/Registry.h>

#include <string>

namespace Orvane { namespace Quillon {

namespace {

const wchar_t kHtmlHelpKey[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const wchar_t kHtmlHelpLibrary[] = L"hhctrl.ocx";

}

// The library is kept for the life of the process: freeing it would happen while this library is
// unloaded, where no library may be freed.
HtmlHelpFunction HtmlHelpEntry()
{
    static const HtmlHelpFunction entry = []() -> HtmlHelpFunction {
        std::wstring path;
        Framework::RegistryKey key;
        if (key.Open(HKEY_CLASSES_ROOT, kHtmlHelpKey) != ERROR_SUCCESS || key.QueryString(nullptr, path) != ERROR_SUCCESS ||
            path.empty())
            path = kHtmlHelpLibrary;
        HMODULE library = ::LoadLibraryW(path.c_str());
        if (!library && path != kHtmlHelpLibrary)
            library = ::LoadLibraryW(kHtmlHelpLibrary);
        if (!library)
            return nullptr;
        return reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "HtmlHelpW")));
    }();
    return entry;
}

}}
