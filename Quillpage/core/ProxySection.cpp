#include "ProxySection.h"

#include "ProxyRewriteCheck.h"

#include <cstddef>
#include <utility>

namespace Orvane { namespace Quillon {

namespace {

const char kOpeningTag[] = "<Orvane>";
const char kClosingTag[] = "</Orvane>";
const char kLineEnd[] = "\r\n";
constexpr std::size_t kLineEndSize = sizeof kLineEnd - 1;
constexpr std::size_t kRoomForSection = 256;

constexpr std::int32_t kDefaultConnect = 60000;
constexpr std::int32_t kDefaultReceive = 30000;
constexpr std::int32_t kDefaultSend = 30000;

std::string Seconds(std::int32_t milliseconds)
{
    return std::to_string(static_cast<std::uint32_t>(milliseconds) / 1000u);
}

// The text without the sections that are cut, and without the settings of those that stay; and the
// lines that go into the new section.
struct CutText {
    std::string remaining;
    std::string kept;
};

// A kept line ends with CR LF. Its bytes end in a backslash only at the end of the text, where the
// parser drops it; written before a line end, it would join the next line to this one.
void Keep(std::string& kept, const std::string& text, std::size_t from, std::size_t to)
{
    if (to > from && text[to - 1] == '\\')
        --to;
    kept.append(text, from, to - from).append(kLineEnd);
}

// A section is cut from its opening tag to the end of its closing tag; the blanks in front of the
// opening tag and the closing line's own line end stay. A section that is never closed runs to the
// end of the text. Inside the new section go, in order: the tag lines' comments and every line of the
// cut sections but their blank lines and settings. A section that stays loses its settings' lines.
CutText Cut(const std::string& text, const ProxySections& found)
{
    CutText cut;
    // Room for the text and a section after it, so that neither is copied again as it grows.
    cut.remaining.reserve(text.size() + kRoomForSection);
    std::size_t keptFrom = 0;
    for (const ProxySectionExtent& section : found.sections) {
        if (!section.cut) {
            for (std::size_t i = section.first; i <= section.last; ++i) {
                const ProxySectionLine& line = found.lines[i];
                if (line.place != SectionLine::Setting)
                    continue;
                cut.remaining.append(text, keptFrom, line.begin - keptFrom);
                keptFrom = line.next;
            }
            continue;
        }
        for (std::size_t i = section.first; i <= section.last; ++i) {
            const ProxySectionLine& line = found.lines[i];
            switch (line.place) {
            case SectionLine::Opening:
                cut.remaining.append(text, keptFrom, line.tagStart - keptFrom);
                if (line.comment < line.end)
                    Keep(cut.kept, text, line.comment, line.end);
                break;
            case SectionLine::Inside:
                if (!line.blank)
                    Keep(cut.kept, text, line.begin, line.end);
                break;
            case SectionLine::Closing:
                if (line.comment < line.end) {
                    Keep(cut.kept, text, line.comment, line.end);
                    keptFrom = line.end;
                } else {
                    keptFrom = line.tagEnd;
                }
                break;
            default:
                break;
            }
        }
        if (!section.closed)
            keptFrom = text.size();
    }
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
    // The parser reads a file up to its first NUL byte; the bytes from there on stay as they are.
    const std::size_t nul = text.find('\0');
    const bool hasNul = nul != std::string::npos;
    const std::string readPart = hasNul ? text.substr(0, nul) : std::string();
    const std::string& parsed = hasNul ? readPart : text;

    ProxySections sections;
    ProxyRewriteCheck check(parsed, sections);
    CutText cut = Cut(parsed, sections);
    const std::string section = ProxySection(settings, cut.kept);
    ProxySettings expected = settings;
    expected.suppressErrors = settings.suppressErrors != 0 ? 1 : 0;

    // At the end of what the parser reads; where that does not keep the readings (a section or a
    // Files section left open, a final backslash), or the end is not read (a NUL byte), at the
    // beginning.
    std::string& remaining = cut.remaining;
    if (!hasNul) {
        const std::size_t remainingSize = remaining.size();
        const std::size_t at = remainingSize == 0 ? 0 : remainingSize + kLineEndSize;
        if (remainingSize != 0)
            remaining.append(kLineEnd);
        remaining.append(section);
        if (check.KeptBy(remaining, at, section.size(), expected))
            return std::move(remaining);
        remaining.resize(remainingSize);
    }
    std::string candidate;
    candidate.reserve(section.size() + kLineEndSize + remaining.size() + (hasNul ? text.size() - nul : 0));
    candidate.append(section).append(kLineEnd).append(remaining);
    if (!check.KeptBy(candidate, 0, section.size(), expected))
        return std::nullopt;
    if (hasNul)
        candidate.append(text, nul, std::string::npos);
    return candidate;
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
