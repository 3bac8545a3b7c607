#include "ProxySection.h"

#include <cstddef>
#include <utility>
#include <vector>

#include <RewriteConfig/OrvaneSections.h>
#include <RewriteConfig/QuillonConfig.h>

namespace Orvane { namespace Quillon {

namespace {

const char kOpeningTag[] = "<Orvane>";
const char kClosingTag[] = "</Orvane>";
const char kLineEnd[] = "\r\n";

constexpr std::int32_t kDefaultConnect = 60000;
constexpr std::int32_t kDefaultReceive = 30000;
constexpr std::int32_t kDefaultSend = 30000;

std::string Seconds(std::int32_t milliseconds)
{
    return std::to_string(static_cast<std::uint32_t>(milliseconds) / 1000u);
}

// What the parser reads of a file's bytes: the text up to the first NUL byte, as the file readers
// hand it to the parser.
std::string ParsedPart(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

// The first byte c of the line's bytes; its beginning when it holds none.
std::size_t FindInLine(const std::string& text, const LogicalLine& line, char c)
{
    const std::size_t at = text.find(c, line.begin);
    return at < line.end ? at : line.begin;
}

// A tag ends at its first ">" (no tag text holds one); what follows it on a tag line is blank or
// a comment. The comment as the parser reads it, empty when there is none.
std::string TagComment(const LogicalLine& line)
{
    const std::size_t hash = line.text.find('#', line.text.find('>'));
    return hash == std::string::npos ? std::string() : line.text.substr(hash);
}

// How one container reads a text: the lines outside the Orvane sections and those inside them
// (blank lines and settings aside; a tag line's comment counts as a line inside), with whether it
// accepted each, and the proxy settings that the text gives it.
struct Reading {
    std::vector<std::pair<std::string, bool>> outside;
    std::vector<std::pair<std::string, bool>> inside;
    ProxySettings settings;
};

Reading Summary(const std::vector<SectionLine>& lines, const ProxySettings& settings)
{
    Reading reading;
    for (const SectionLine& line : lines) {
        const std::string& text = line.line.text;
        switch (line.place) {
        case SectionLine::Outside:
            if (!text.empty())
                reading.outside.emplace_back(text, line.accepted);
            break;
        case SectionLine::Inside:
            if (!text.empty())
                reading.inside.emplace_back(text, line.accepted);
            break;
        case SectionLine::Opening:
        case SectionLine::Closing: {
            const std::string comment = TagComment(line.line);
            if (!comment.empty())
                reading.inside.emplace_back(comment, true);
            break;
        }
        case SectionLine::Setting:
            break;
        }
    }
    reading.settings = settings;
    return reading;
}

template <class Container>
Reading ReadAs(const std::string& bytes)
{
    Container container;
    const std::vector<SectionLine> lines = ReadOrvaneSections(container, ParsedPart(bytes));
    return Summary(lines, container.proxySettings);
}

bool SameSettings(const ProxySettings& a, const ProxySettings& b)
{
    return a.connectTimeout == b.connectTimeout && a.receiveTimeout == b.receiveTimeout &&
           a.sendTimeout == b.sendTimeout && a.suppressErrors == b.suppressErrors;
}

// A text as the section's own reader (a directory level) and as the whole language (which the
// editor checks before it saves) read it.
struct Readings {
    Reading directoryLevel;
    Reading language;
};

// Whether a rewritten text keeps the contract of the rewrite: for both readers it gives exactly the
// new settings, and every other line reads as before, with the same verdict, on the same side of
// the section, in the same order.
bool KeepsReadings(const Readings& before, const std::string& after, const ProxySettings& settings)
{
    auto keeps = [&settings](const Reading& old, const Reading& now) {
        return SameSettings(now.settings, settings) && now.outside == old.outside && now.inside == old.inside;
    };
    return keeps(before.directoryLevel, ReadAs<Htaccess>(after)) && keeps(before.language, ReadAs<QuillonConfig>(after));
}

// The text without the Orvane sections that a directory level reads in it (lines: its reading of
// the text), and the lines of those sections that are kept inside the new one.
struct CutText {
    std::string remaining;
    std::string kept;
};

// A section is cut from its opening tag to the end of its closing tag; the blanks in front of the
// opening tag and the closing line's own line end stay. A section that is never closed runs to the
// end of what the parser reads. Inside the new section go, in order: the tag lines' comments and
// every line of the old sections but their blank lines and settings, each with CR LF.
CutText CutSections(const std::string& text, const std::vector<SectionLine>& lines)
{
    CutText cut;
    std::size_t keptFrom = 0;
    bool inSection = false;
    auto keepComment = [&](const LogicalLine& line, std::size_t tagEnd) {
        const std::size_t hash = text.find('#', tagEnd);
        if (TagComment(line).empty() || hash >= line.end)
            return false;
        cut.kept.append(text, hash, line.end - hash).append(kLineEnd);
        return true;
    };
    for (const SectionLine& line : lines) {
        const LogicalLine& at = line.line;
        switch (line.place) {
        case SectionLine::Opening:
            cut.remaining.append(text, keptFrom, FindInLine(text, at, '<') - keptFrom);
            keepComment(at, FindInLine(text, at, '>'));
            inSection = true;
            break;
        case SectionLine::Inside:
            if (!at.text.empty())
                cut.kept.append(text, at.begin, at.end - at.begin).append(kLineEnd);
            break;
        case SectionLine::Closing: {
            const std::size_t tagEnd = FindInLine(text, at, '>') + 1;
            keptFrom = keepComment(at, tagEnd) ? at.end : tagEnd;
            inSection = false;
            break;
        }
        case SectionLine::Outside:
        case SectionLine::Setting:
            break;
        }
    }
    if (inSection)
        keptFrom = lines.empty() ? 0 : lines.back().line.next;
    cut.remaining.append(text, keptFrom, std::string::npos);
    return cut;
}

}

std::string FormatProxySettings(const ProxySettings& settings)
{
    std::string inner;
    if (settings.connectTimeout != kDefaultConnect)
        inner += "ProxyConnectTimeout " + Seconds(settings.connectTimeout) + kLineEnd;
    if (settings.receiveTimeout != kDefaultReceive)
        inner += "ProxyReceiveTimeout " + Seconds(settings.receiveTimeout) + kLineEnd;
    if (settings.sendTimeout != kDefaultSend)
        inner += "ProxySendTimeout " + Seconds(settings.sendTimeout) + kLineEnd;
    if (settings.suppressErrors != 1)
        inner += settings.suppressErrors == 0 ? "ProxySuppressErrors Off\n" : "ProxySuppressErrors On\n";
    return inner;
}

std::string ProxySection(const ProxySettings& settings, const std::string& keptLines)
{
    return std::string(kOpeningTag) + kLineEnd + FormatProxySettings(settings) + keptLines + kClosingTag;
}

std::optional<std::string> ReplaceProxySection(const std::string& text, const ProxySettings& settings)
{
    Htaccess directoryLevel;
    const std::vector<SectionLine> lines = ReadOrvaneSections(directoryLevel, ParsedPart(text));
    const Readings before{Summary(lines, directoryLevel.proxySettings), ReadAs<QuillonConfig>(text)};
    const CutText cut = CutSections(text, lines);
    const std::string section = ProxySection(settings, cut.kept);
    ProxySettings expected = settings;
    expected.suppressErrors = settings.suppressErrors != 0 ? 1 : 0;
    // At the end of the file; where the end is not read at the top (a section left open, a final
    // backslash, a NUL byte in front of it), at its beginning.
    const std::string candidates[] = {
        cut.remaining.empty() ? section : cut.remaining + kLineEnd + section,
        section + kLineEnd + cut.remaining,
    };
    for (const std::string& candidate : candidates)
        if (KeepsReadings(before, candidate, expected))
            return candidate;
    return std::nullopt;
}

TimeoutEntry ParseTimeoutSeconds(const std::wstring& text, std::int32_t& milliseconds)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    std::uint64_t seconds = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        seconds = seconds * 10 + static_cast<std::uint64_t>(text[i] - L'0');
        if (seconds > MaxTimeoutSeconds)
            return TimeoutEntry::OutOfRange;
    }
    if (negative && seconds != 0)
        return TimeoutEntry::OutOfRange;
    milliseconds = static_cast<std::int32_t>(seconds * 1000);
    return TimeoutEntry::Accepted;
}

std::wstring TimeoutSecondsText(std::int32_t milliseconds)
{
    return std::to_wstring(static_cast<std::uint32_t>(milliseconds) / 1000u);
}

}}
