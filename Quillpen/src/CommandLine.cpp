#include "CommandLine.h"

#include <windows.h>

#include <vector>

namespace Quillpen {

std::wstring PathFromCommandLine(const std::wstring& line)
{
    if (line.empty() || line[0] != L'"')
        return line;
    size_t close = line.find(L'"', 1);
    if (close == std::wstring::npos)
        return line.substr(1);
    return line.substr(1, close - 1);
}

bool MakeFullPath(const std::wstring& path, std::wstring& fullPath, std::wstring& fileName)
{
    if (path.empty())
        return false;
    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    wchar_t* namePart = nullptr;
    DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &namePart);
    if (length >= buffer.size()) {
        buffer.assign(static_cast<size_t>(length) + 1, L'\0');
        length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), &namePart);
    }
    if (length == 0 || length >= buffer.size())
        return false;
    fullPath.assign(buffer.data(), length);
    fileName = namePart ? std::wstring(namePart) : std::wstring();
    // A path that names a folder ("C:\dir\") has no file to open.
    return !fileName.empty();
}

}
