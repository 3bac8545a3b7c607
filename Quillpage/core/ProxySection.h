#pragma once
// The Orvane section of a configuration file, as the proxy settings dialog writes it: the inner
// lines for the values that differ from their defaults, and the rewrite of a file's text that puts
// the new section in place of the old ones, as the parser reads them, and keeps what the file means.
#include <RewriteConfig/Htaccess.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace Orvane { namespace Quillon {

// The section's inner lines (without the tags), in the order connect, receive, send, suppress.
std::string FormatProxySettings(const ProxySettings& settings);

// The whole section: "<Orvane>" CR LF, the inner lines, the kept lines (each ending with CR LF),
// "</Orvane>" without a line end; and where its closing tag starts in it.
struct NewProxySection {
    std::string text;
    std::size_t closingTagAt = 0;
};
NewProxySection ProxySection(const ProxySettings& settings, const std::string& keptLines = std::string());

// The text with the new section in place of the Orvane sections that the parser reads in it, so
// that every reader (the directory level, the whole language, the site page's server file) then
// reads the same configuration as before, field by field and section by section, but for the proxy
// settings, which are exactly the new ones. Tags are what the parser takes for tags: not inside
// comments or joined lines, not cut by a lone CR. A section whose lines are all blank lines,
// comments, settings or lines that both the directory level and the whole language refuse is cut
// from its opening tag to the end of its closing tag (with the comment after it), or to the end of
// what the parser reads when it is never closed; the blanks in front of the opening tag and the
// closing line's line end stay, and its other lines and the tag lines' comments go, in order and as
// the parser reads them, into the new section. A section that holds anything else (a Files or
// Directory section, a directive of the whole language) stays where it is without its settings, so
// that what it holds is read in its order. The new section is appended after CR LF (none when
// nothing remains); where the end of the text is not read at the top (a section left open, a final
// backslash, a NUL byte in front of it) it goes to the beginning instead, followed by CR LF. The
// bytes from the first NUL byte on stay as they are, and so does every other byte. Nothing when no
// placement keeps the readings.
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
