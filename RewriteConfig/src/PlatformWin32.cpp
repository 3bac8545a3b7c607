#include "RewriteConfig/Platform.h"

#include <windows.h>
#include <string.h>

namespace Orvane { namespace Quillon { namespace Platform {

std::wstring AnsiToWide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (needed <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], needed) != needed)
        return std::wstring();
    return wide;
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string narrow(static_cast<size_t>(needed), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, text.data(), size, &narrow[0], needed, nullptr, nullptr) != needed)
        return std::string();
    return narrow;
}

bool QueryFileAttributes(const std::string& path, FileAttributes& attributes)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    attributes.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    attributes.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

int CompareNoCase(const char* a, const char* b)
{
    return _stricmp(a, b);
}

}}}
