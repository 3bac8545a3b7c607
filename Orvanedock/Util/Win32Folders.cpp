#include "Win32Folders.h"

#include <Framework/Handles.h>

#include <windows.h>

namespace Orvane::Util {

bool Win32Folders::ListFolders(const std::wstring& folder, std::vector<std::wstring>& names)
{
    WIN32_FIND_DATAW entry{};
    Framework::ScopedFind search(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (!search)
        return false;
    do {
        // ".", ".." and every folder whose name begins with a dot are left out; hidden and
        // system folders are listed.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != L'.')
            names.push_back(entry.cFileName);
    } while (::FindNextFileW(search.Get(), &entry));
    return ::GetLastError() == ERROR_NO_MORE_FILES;
}

std::wstring Win32Folders::ExpandEnvironment(const std::wstring& text)
{
    if (text.find(L'%') == std::wstring::npos)
        return text;
    std::wstring expanded(text.size() + 64, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD needed = ::ExpandEnvironmentStringsW(text.c_str(), &expanded[0], static_cast<DWORD>(expanded.size()));
        if (needed == 0)
            return text; // left as stored; the walk then finds nothing
        if (needed <= expanded.size()) {
            expanded.resize(needed - 1);
            return expanded;
        }
        expanded.assign(needed, L'\0');
    }
    return text;
}

}
