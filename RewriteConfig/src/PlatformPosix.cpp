#include "RewriteConfig/Platform.h"

#include <sys/stat.h>

#include "RewriteConfig/TextFunctions.h"

namespace Orvane { namespace Quillon { namespace Platform {

namespace {

// Code page 1252 bytes 0x80..0x9F; the five unassigned bytes map to the same code point,
// as the Windows conversion does.
const wchar_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char WideTo1252(wchar_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kHigh1252[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

// A byte of a C string in lower case, as the C runtime's comparisons read it: unsigned.
int LowerByte(char c)
{
    return static_cast<unsigned char>(LowerAscii(c));
}

}

std::wstring AnsiToWide(const std::string& text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (unsigned char c : text)
        wide.push_back((c >= 0x80 && c < 0xA0) ? kHigh1252[c - 0x80] : static_cast<wchar_t>(c));
    return wide;
}

std::string WideToAnsi(const std::wstring& text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (wchar_t c : text)
        narrow.push_back(WideTo1252(c));
    return narrow;
}

bool QueryFileAttributes(const std::string& path, FileAttributes& attributes)
{
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0)
        return false;
    attributes.isDirectory = S_ISDIR(info.st_mode);
    attributes.size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

int CompareNoCase(const char* a, const char* b)
{
    while (*a != '\0' && LowerByte(*a) == LowerByte(*b)) {
        ++a;
        ++b;
    }
    return LowerByte(*a) - LowerByte(*b);
}

}}}
