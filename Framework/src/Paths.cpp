#include "Framework/Paths.h"

#include <vector>

namespace Framework {

std::wstring ModuleFileName(HMODULE module)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::wstring();
        // A full buffer means the path was cut (older systems do not report it as an error).
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768)
            return std::wstring();
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring ModuleFolder(HMODULE module)
{
    std::wstring path = ModuleFileName(module);
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return std::wstring();
    return path.substr(0, slash + 1);
}

bool ResolveFullPath(const std::wstring& path, std::wstring& fullPath, size_t* fileNameStart)
{
    if (path.empty())
        return false;
    // The first call tells the size the answer needs; a working folder changed in between by another
    // thread can make it grow, so the size is asked again until it fits.
    DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    for (int attempt = 0; attempt < 4 && needed > 0; ++attempt) {
        std::vector<wchar_t> buffer(static_cast<size_t>(needed) + 1, L'\0');
        wchar_t* namePart = nullptr;
        DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &namePart);
        if (length == 0)
            return false;
        if (length < buffer.size()) {
            fullPath.assign(buffer.data(), length);
            if (fileNameStart)
                *fileNameStart = namePart ? static_cast<size_t>(namePart - buffer.data()) : fullPath.size();
            return true;
        }
        needed = length;
    }
    return false;
}

std::wstring ExpandEnvironmentText(const std::wstring& text)
{
    if (text.find(L'%') == std::wstring::npos)
        return text;
    std::wstring expanded(text.size() + 64, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), &expanded[0], static_cast<DWORD>(expanded.size()));
        if (needed == 0)
            return text;
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);
            return expanded;
        }
        expanded.assign(needed, L'\0');
    }
    return text;
}

}
