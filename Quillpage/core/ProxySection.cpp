#include "ProxySection.h"

#include <cstddef>

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

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(const std::string& text, std::size_t begin, std::size_t end, const char* word)
{
    std::size_t i = begin;
    for (; i < end && *word; ++i, ++word) {
        if (LowerAscii(text[i]) != LowerAscii(*word))
            return false;
    }
    return i == end && *word == '\0';
}

// One line of the text: [begin, contentEnd) is its content, [contentEnd, next) its line end
// (CR LF, lone CR, lone LF, or nothing at the end of the text).
struct Line {
    std::size_t begin;
    std::size_t contentEnd;
    std::size_t next;
};

Line LineAt(const std::string& text, std::size_t begin)
{
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string::npos)
        return Line{begin, text.size(), text.size()};
    std::size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n')
        ++next;
    return Line{begin, end, next};
}

// A line that holds the tag and nothing but blanks around it. The tag's own extent is
// [tagBegin, tagEnd); the blanks around it are other bytes of the file and stay.
struct TagLine {
    std::size_t tagBegin;
    std::size_t tagEnd;
    std::size_t next;
};

bool IsTagLine(const std::string& text, const Line& line, const char* tag, TagLine& found)
{
    std::size_t begin = line.begin;
    std::size_t end = line.contentEnd;
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    if (!EqualsNoCase(text, begin, end, tag))
        return false;
    found = TagLine{begin, end, line.next};
    return true;
}

// The first tag line of `tag` at or after `from`; npos in tagBegin when there is none.
TagLine FindTagLine(const std::string& text, std::size_t from, const char* tag)
{
    TagLine found{std::string::npos, std::string::npos, std::string::npos};
    for (std::size_t position = from; position < text.size();) {
        Line line = LineAt(text, position);
        if (IsTagLine(text, line, tag, found))
            return found;
        position = line.next;
    }
    return found;
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

std::string ProxySection(const ProxySettings& settings)
{
    return std::string(kOpeningTag) + kLineEnd + FormatProxySettings(settings) + kClosingTag;
}

std::string ReplaceProxySection(const std::string& text, const ProxySettings& settings)
{
    std::string remaining = text;
    const TagLine opening = FindTagLine(text, 0, kOpeningTag);
    if (opening.tagBegin != std::string::npos) {
        const TagLine closing = FindTagLine(text, opening.next, kClosingTag);
        // From the opening tag to the end of the closing tag; what follows the closing tag stays.
        // A lone opening tag goes with its line end, and the text after it stays.
        if (closing.tagBegin != std::string::npos)
            remaining.erase(opening.tagBegin, closing.tagEnd - opening.tagBegin);
        else
            remaining.erase(opening.tagBegin, opening.next - opening.tagBegin);
    }
    if (!remaining.empty())
        remaining += kLineEnd;
    return remaining + ProxySection(settings);
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
