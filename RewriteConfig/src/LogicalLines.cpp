#include "RewriteConfig/LogicalLines.h"

#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

namespace {

// Whether a logical line of the text can hold an escaped blank: a backslash followed by a blank, or
// one that ends a physical line, since continuation joins the next physical line to it.
bool MayHaveEscapedBlanks(const std::string& text)
{
    for (std::string::size_type at = text.find('\\'); at != std::string::npos; at = text.find('\\', at + 1)) {
        const char next = at + 1 < text.size() ? text[at + 1] : '\0';
        if (next == ' ' || next == '\n' || next == '\r')
            return true;
    }
    return false;
}

bool HasEscapedBlank(const std::string& line)
{
    for (std::string::size_type at = line.find('\\'); at != std::string::npos; at = line.find('\\', at + 1))
        if (at + 1 < line.size() && line[at + 1] == ' ')
            return true;
    return false;
}

// A backslash-escaped blank reaches the expressions as "\x20", text without white space. The line is
// written to escaped, a buffer kept from line to line.
void EscapeBlanks(const std::string& line, std::string& escaped)
{
    escaped.clear();
    for (std::string::size_type i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == ' ') {
            escaped.append("\\x20");
            ++i;
        } else {
            escaped.push_back(line[i]);
        }
    }
}

}

LogicalLines::LogicalLines(const std::string& text) : text_(text), mayHaveEscapedBlanks_(MayHaveEscapedBlanks(text)) {}

// The separator is found directly: a line feed, and the carriage return right before it.
bool LogicalLines::NextPhysical(std::string& line)
{
    if (position_ == text_.size())
        return false;
    const std::string::size_type feed = text_.find('\n', position_);
    if (feed == std::string::npos) {
        line.assign(text_, position_, std::string::npos);
        position_ = physicalEnd_ = text_.size();
        return true;
    }
    physicalEnd_ = (feed > position_ && text_[feed - 1] == '\r') ? feed - 1 : feed;
    // Appended to the emptied line, which keeps its buffer from line to line.
    line.clear();
    line.append(text_, position_, physicalEnd_ - position_);
    position_ = feed + 1;
    return true;
}

const LogicalLine* LogicalLines::Next()
{
    line_.begin = position_;
    std::string& line = line_.text;
    if (!NextPhysical(line))
        return nullptr;
    // Each pass removes one final backslash and appends the next physical line unchanged; once the
    // last physical line has been appended, a further final backslash stays.
    bool exhausted = false;
    while (!exhausted && !line.empty() && line.back() == '\\') {
        line.pop_back();
        if (!NextPhysical(further_))
            break;
        line.append(further_);
        exhausted = !HasMorePhysical();
    }
    line_.end = physicalEnd_;
    line_.next = position_;
    Detail::TrimSpace(line);
    // Most lines have no escaped blank and are offered as they stand.
    if (mayHaveEscapedBlanks_ && HasEscapedBlank(line)) {
        EscapeBlanks(line, escaped_);
        line.swap(escaped_);
    }
    return &line_;
}

}}
