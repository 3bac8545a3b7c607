#pragma once
// The Orvane section of a configuration file, as the proxy settings dialog writes it: the inner
// lines for the values that differ from their defaults, and the rewrite of a file's text that cuts
// the old section out and appends the new one while keeping every other byte.
#include <RewriteConfig/Htaccess.h>

#include <cstdint>
#include <string>

namespace Orvane { namespace Quillon {

// The section's inner lines (without the tags), in the order connect, receive, send, suppress.
std::string FormatProxySettings(const ProxySettings& settings);

// The whole section: "<Orvane>" CR LF, the inner lines, "</Orvane>" without a line end.
std::string ProxySection(const ProxySettings& settings);

// The text with its first Orvane section removed and the new section appended. Tags count only on
// a line of their own (blanks around them allowed, any letter case), so a tag inside a comment or
// after other text is no tag. The section runs from the first opening tag line to the first closing
// tag line after it; the line end after the closing tag stays. An opening tag line without a
// closing one after it loses only itself (with its line end). A remainder that is not empty gets
// CR LF before the new section. Every other byte (NUL, bytes above 127, lone CR or LF, a missing
// final line end) is kept.
std::string ReplaceProxySection(const std::string& text, const ProxySettings& settings);

// The largest time-out in seconds whose milliseconds fit the 32-bit fields.
constexpr std::uint32_t MaxTimeoutSeconds = 2147483;

enum class TimeoutEntry { Accepted, OutOfRange };

// A time-out field's text read as seconds the way wtol reads it (leading blanks, an optional sign,
// then the leading digits; 0 when there are none), and its milliseconds. A negative value or one
// above MaxTimeoutSeconds is refused: milliseconds then stays unchanged.
TimeoutEntry ParseTimeoutSeconds(const std::wstring& text, std::int32_t& milliseconds);

// The text a time-out field shows for milliseconds: seconds, unsigned, remainder dropped.
std::wstring TimeoutSecondsText(std::int32_t milliseconds);

}}
