#include "ProxySection.h"

#include "ProxyRewriteCheck.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

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

// The first byte c in [from, to); to when there is none.
std::size_t Find(const std::string& text, std::size_t from, std::size_t to, char c)
{
    return static_cast<std::size_t>(std::find(text.begin() + from, text.begin() + to, c) - text.begin());
}

// The text without the sections that are cut, and without the settings of those that stay; and the
// lines that go into the new section.
struct CutText {
    std::string remaining;
    std::string kept;
};

// Cuts the directory level's sections out of the text as its reader goes through it, one section
// at a time: a section is cut when all its lines may move into the new one, and stays without its
// settings when it holds anything else. Inside the new section go, in order, the tag lines'
// comments and every line of the cut sections but their blank lines and settings.
class SectionCutter {
public:
    explicit SectionCutter(const std::string& text) : text_(text)
    {
        // Room for the text and a section after it, so that neither is copied again as it grows.
        cut_.remaining.reserve(text.size() + kRoomForSection);
    }

    void OnLine(const SectionLine& read, bool refusedByLanguage)
    {
        if (read.place == SectionLine::Outside)
            return;
        const LogicalLine& at = read.line;
        Line line{read.place, at.begin, at.end, at.next};
        if (read.place == SectionLine::Opening || read.place == SectionLine::Closing) {
            // A tag ends at its first ">" (no tag text holds one); what follows it on a tag line is
            // blank or a comment.
            line.tagBegin = Find(text_, at.begin, at.end, '<');
            const std::size_t close = Find(text_, line.tagBegin, at.end, '>');
            line.tagEnd = close < at.end ? close + 1 : at.end;
            if (at.text.find('#', at.text.find('>')) != std::string::npos)
                line.comment = Find(text_, line.tagEnd, at.end, '#');
        }
        // A blank line or a comment keeps nothing in any reader, and neither does a line that the
        // directory level and the whole language both refuse: such lines may move.
        line.blank = at.text.empty();
        line.movable = line.blank || at.text[0] == '#' || (!read.accepted && refusedByLanguage);
        section_.push_back(line);
        if (read.place == SectionLine::Closing)
            EndSection();
    }

    CutText Finish()
    {
        if (!section_.empty())
            EndSection();
        cut_.remaining.append(text_, keptFrom_, std::string::npos);
        return std::move(cut_);
    }

private:
    // A line of the section at hand, with its bytes in the text.
    struct Line {
        SectionLine::Place place;
        std::size_t begin, end, next;
        // Tags: the tag's "<" and the end of its ">", and the "#" of the comment after the tag (npos
        // when there is none).
        std::size_t tagBegin = 0, tagEnd = 0, comment = std::string::npos;
        bool blank = false;
        bool movable = false;

        bool HasComment() const { return comment < end; }
    };

    void EndSection()
    {
        const bool allMayMove = std::all_of(section_.begin(), section_.end(), [](const Line& line) {
            return line.place != SectionLine::Inside || line.movable;
        });
        if (allMayMove)
            CutSection();
        else
            DropSettings();
        section_.clear();
    }

    // The section goes from its opening tag to the end of its closing tag, with the comment after it
    // (the blanks in front of the opening tag and the closing line's line end stay), or to the end
    // of the text when it is never closed.
    void CutSection()
    {
        const Line& last = section_.back();
        const std::size_t end = last.place != SectionLine::Closing ? text_.size()
                                : last.HasComment()                ? last.end
                                                                   : last.tagEnd;
        Skip(section_.front().tagBegin, end);
        for (const Line& line : section_) {
            if (line.place == SectionLine::Inside && !line.blank)
                Keep(line.begin, line);
            else if (line.HasComment())
                Keep(line.comment, line);
        }
    }

    // The section stays where it is, without its settings.
    void DropSettings()
    {
        for (const Line& line : section_)
            if (line.place == SectionLine::Setting)
                Skip(line.begin, line.next);
    }

    // The text up to from stays; what follows up to to goes.
    void Skip(std::size_t from, std::size_t to)
    {
        cut_.remaining.append(text_, keptFrom_, from - keptFrom_);
        keptFrom_ = to;
    }

    // The bytes of the line from from on, ending with CR LF, so that the new section reads them as
    // this line was read. Only a line at the end of the text can end in a backslash: the parser
    // drops it there when the line is one physical line, and so it is dropped here. A backslash that
    // still ends the line would join the next line to it; a blank after it, which the parser trims,
    // keeps it at the end of its line.
    void Keep(std::size_t from, const Line& line)
    {
        std::size_t to = line.end;
        const bool onePhysicalLine = Find(text_, line.begin, line.end, '\n') == line.end;
        if (to > from && text_[to - 1] == '\\' && onePhysicalLine)
            --to;
        cut_.kept.append(text_, from, to - from);
        if (to > from && text_[to - 1] == '\\')
            cut_.kept.push_back(' ');
        cut_.kept.append(kLineEnd);
    }

    const std::string& text_;
    std::vector<Line> section_;
    CutText cut_;
    std::size_t keptFrom_ = 0;
};

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

NewProxySection ProxySection(const ProxySettings& settings, const std::string& keptLines)
{
    NewProxySection section;
    section.text = std::string(kOpeningTag) + kLineEnd + FormatProxySettings(settings) + keptLines;
    section.closingTagAt = section.text.size();
    section.text += kClosingTag;
    return section;
}

std::optional<std::string> ReplaceProxySection(const std::string& text, const ProxySettings& settings)
{
    // The parser reads a file up to its first NUL byte; the bytes from there on stay as they are.
    const std::size_t nul = text.find('\0');
    const bool hasNul = nul != std::string::npos;
    const std::string readPart = hasNul ? text.substr(0, nul) : std::string();
    const std::string& parsed = hasNul ? readPart : text;

    SectionCutter cutter(parsed);
    ProxyRewriteCheck check(parsed, [&cutter](const SectionLine& line, bool refusedByLanguage) {
        cutter.OnLine(line, refusedByLanguage);
    });
    CutText cut = cutter.Finish();
    const NewProxySection section = ProxySection(settings, cut.kept);
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
        remaining.append(section.text);
        if (check.KeptBy(remaining, at, at + section.closingTagAt, expected))
            return std::move(remaining);
        remaining.resize(remainingSize);
    }
    std::string candidate;
    candidate.reserve(section.text.size() + kLineEndSize + remaining.size() + (hasNul ? text.size() - nul : 0));
    candidate.append(section.text).append(kLineEnd).append(remaining);
    if (!check.KeptBy(candidate, 0, section.closingTagAt, expected))
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
