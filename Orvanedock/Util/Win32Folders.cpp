#include "Win32Folders.h"

#include <Framework/Handles.h>
#include <Framework/Paths.h>

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
    // Left as stored when it cannot be expanded; the walk then finds nothing.
    return Framework::ExpandEnvironmentText(text);
}

}
