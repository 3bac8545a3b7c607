#pragma once
// Text helpers of the converter: line splitting and flag lists.
#include <cstddef>
#include <string>
#include <vector>

namespace Orvane { namespace Quillshift {

// Every written line ends so; the output file is a Windows text file.
extern const char* const kLineEnd;

// Calls onLine(line, number) for each line of text. A line ends at CR LF or at a lone LF. Empty lines
// before the first non-empty one are skipped and get no number; the text after the last line end is a
// line only when it is not empty. Numbers count from 0.
template <typename OnLine>
void ForEachLine(const std::string& text, OnLine onLine)
{
    std::size_t number = 0;
    bool started = false;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find('\n', begin);
        const bool last = end == std::string::npos;
        std::size_t next = last ? text.size() : end + 1;
        if (last)
            end = text.size();
        else if (end > begin && text[end - 1] == '\r')
            --end;
        if (end > begin)
            started = true;
        if (started)
            onLine(text.substr(begin, end - begin), number++);
        begin = next;
    }
}

// Lower-cases and trims a flag list, cuts it at commas (with the white space around them) and trims
// each piece; an empty list gives no pieces.
std::vector<std::string> SplitFlagList(std::string& flagsText);

}}
