#pragma once
// The few platform services the configuration model needs. Win32 in the Windows build,
// code page 1252 tables and POSIX calls in the host build.
#include <cstdint>
#include <string>

namespace Orvane { namespace Quillon { namespace Platform {

// 8-bit text in the system's ANSI code page <-> UTF-16.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);

struct FileAttributes {
    bool isDirectory = false;
    std::uint64_t size = 0;
};

// One attribute query of a path; false when the path cannot be queried.
bool QueryFileAttributes(const std::string& path, FileAttributes& attributes);

// Case-insensitive comparison of two C strings, as the C runtime's _stricmp.
int CompareNoCase(const char* a, const char* b);

}}}
