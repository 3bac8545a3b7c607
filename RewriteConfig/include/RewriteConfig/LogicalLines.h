#pragma once
// The logical lines of a configuration text, as Htaccess::ParseText offers them to the containers,
// each with the bytes of the text it came from. Physical lines end at a line feed (a carriage return
// right before it belongs to the separator; one alone separates nothing); a final backslash joins
// the next physical line; the joined line is trimmed and its backslash-escaped blanks become "\x20".
#include <cstddef>
#include <string>

namespace Orvane { namespace Quillon {

struct LogicalLine {
    std::size_t begin = 0;  // the first byte of its first physical line
    std::size_t end = 0;    // the end of its last physical line, before that line's separator
    std::size_t next = 0;   // the first byte after that separator (the text's size at its end)
    std::string text;       // what the containers are offered
};

class LogicalLines {
public:
    // The text must outlive the reader.
    explicit LogicalLines(const std::string& text);

    // The next logical line, or null after the last. The line is the reader's own and changes with
    // the next call.
    const LogicalLine* Next();

private:
    bool NextPhysical(std::string& line);
    bool HasMorePhysical() const { return position_ != text_.size(); }

    const std::string& text_;
    std::size_t position_ = 0;
    std::size_t physicalEnd_ = 0;
    const bool mayHaveEscapedBlanks_;
    LogicalLine line_;
    // Buffers kept from line to line.
    std::string further_;
    std::string escaped_;
};

}}
