#pragma once
// The Orvane section of a configuration file, as the proxy settings dialog writes it: the inner
// lines for the values that differ from their defaults, and the rewrite of a file's text that cuts
// the old sections out, as the parser reads them, and appends the new one.
#include <RewriteConfig/Htaccess.h>

#include <cstdint>
#include <optional>
#include <string>

namespace Orvane { namespace Quillon {

// The section's inner lines (without the tags), in the order connect, receive, send, suppress.
std::string FormatProxySettings(const ProxySettings& settings);

// The whole section: "<Orvane>" CR LF, the inner lines, the kept lines (each ending with CR LF),
// "</Orvane>" without a line end.
std::string ProxySection(const ProxySettings& settings, const std::string& keptLines = std::string());

// The text with the new section in place of the Orvane sections that the parser reads in it, so
// that the parser then reads exactly the new settings and every other line as before. Tags are what
// the parser takes for tags: not inside comments or joined lines, not cut by a lone CR. Each section
// is cut from its opening tag to the end of its closing tag (with the comment after it), or to the
// end of what the parser reads when it is never closed; the blanks in front of the opening tag and
// the closing line's line end stay. The tag lines' comments and the section's lines other than
// blank lines and settings are kept, in order, inside the new section, which is appended after
// CR LF (none when nothing remains); where the end of the text is not read at the top (a section
// left open, a final backslash, a NUL byte in front of it) it goes to the beginning instead,
// followed by CR LF. Every other byte stays. Nothing when no such text keeps the reading, as a
// directory level and as the whole language (the editor's check) read it.
std::optional<std::string> ReplaceProxySection(const std::string& text, const ProxySettings& settings);

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
