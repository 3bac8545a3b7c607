#include "MessageText.h"

namespace Orvane { namespace Quillprobe {

std::string JoinMessageLines(const std::string& text)
{
    std::string joined;
    joined.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            if (i + 1 < text.size())
                joined += ' ';
            continue;
        }
        joined += c;
    }
    return joined;
}

}}
