#pragma once
// Small text functions shared by the configuration containers and by the site property page.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Orvane { namespace Quillon {

// ASCII capitals to lower case; every other byte stays as it is, whatever the locale.
inline char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Trims white space, then removes at most one double quote at each end. Changes and returns text.
std::string& TrimUnquote(std::string& text);
std::wstring& TrimUnquote(std::wstring& text);

// Trims white space and ends the path with a backslash unless it already ends with "/" or "\".
std::string& TrimDirectoryPath(std::string& text);
// The same rule for a wide path, except that an empty path stays empty: a failed lookup must not
// turn into the root of the current drive.
std::wstring& TrimDirectoryPath(std::wstring& text);

// Turns a file wildcard into an unanchored expression: "?" one character or none, "*" a run without "/".
std::string& WildcardToRegex(std::string& text);

// Decimal text of a signed value.
std::string IntToString(std::int32_t value);
std::wstring IntToWideString(std::int32_t value);
std::wstring Int64ToWideString(std::int64_t value);

// UTF-16 data as stored by the system (registry, IIS metabase): the text up to the first NUL, or
// up to the data's end when it holds none; a trailing odd byte is no character. Never reads past
// bytes.
std::wstring TextFromUtf16Data(const void* data, std::size_t bytes);

// A log path without a colon is relative.
bool PathHasColon(const std::wstring& path);

// Put directly in front of relative ErrorLog and RewriteLog paths. Empty unless the host program sets
// it before it builds configuration objects. One process-wide value behind a lock: a program may set
// it on one thread while another thread builds configuration objects.
std::wstring LogBaseDirectory();
void SetLogBaseDirectory(const std::wstring& directory);

}}
