#pragma once
// Small text functions shared by the configuration containers and by the site property page.
#include <cstdint>
#include <string>

namespace Orvane { namespace Quillon {

// Trims white space, then removes at most one double quote at each end. Changes and returns text.
std::string& TrimUnquote(std::string& text);
std::wstring& TrimUnquote(std::wstring& text);

// Trims white space and ends the path with a backslash unless it already ends with "/" or "\".
std::string& TrimDirectoryPath(std::string& text);

// Turns a file wildcard into an unanchored expression: "?" one character or none, "*" a run without "/".
std::string& WildcardToRegex(std::string& text);

// Decimal text of a signed value.
std::string IntToString(std::int32_t value);

// A log path without a colon is relative.
bool PathHasColon(const std::wstring& path);

// Put directly in front of relative ErrorLog and RewriteLog paths. Empty unless the host program sets it
// before it builds configuration objects; only read while parsing.
extern std::wstring LogBaseDirectory;

}}
