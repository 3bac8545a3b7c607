#include "SharedExpressions.h"

#include <algorithm>

#include "LinearMatcher.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon { namespace Detail {

const boost::regex kFlagSeparator("\\s*,\\s*", kNoCase);

namespace {

// A search in a long substitution can take time that grows with the square of its length in the
// library's matcher; the linear matcher answers whether the expression is found at all.
class ReferenceScan {
public:
    explicit ReferenceScan(const char* text) : linear_(text, kNoCase) {}
    bool FoundIn(const std::string& text) const { return linear_.FoundIn(text); }

private:
    const LinearMatcher linear_;
};

const ReferenceScan kHttpHeaderReference("\\%\\{\\s*HTTP\\:([^}]+)\\}");
const ReferenceScan kPercentBraceReference("\\%\\{\\s*([^}]+)\\s*\\}");

}

void SplitFlagList(const std::string& text, std::vector<std::string>& pieces)
{
    const std::bitset<256>& spaces = RegexSpaces();
    auto isSpace = [&spaces](char c) { return spaces[static_cast<unsigned char>(c)]; };
    // At most one piece more than there are commas.
    pieces.reserve(pieces.size() + static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) + 1);
    std::string::size_type rest = 0;
    bool produced = false;
    for (;;) {
        const std::string::size_type comma = text.find(',', rest);
        if (comma == std::string::npos)
            break;
        std::string::size_type start = comma;
        while (start > rest && isSpace(text[start - 1]))
            --start;
        std::string::size_type end = comma + 1;
        while (end < text.size() && isSpace(text[end]))
            ++end;
        if (start != rest || produced) {
            pieces.emplace_back(text, rest, start - rest);
            produced = true;
        }
        rest = end;
    }
    if (rest != text.size())
        pieces.emplace_back(text, rest, std::string::npos);
}

void ScanReferences(const std::string& text, unsigned char& hasDollarBrace, unsigned char& hasHttpHeader,
                    unsigned char& hasPercentBrace)
{
    // "\$\{" is the two characters themselves; every match of the other two expressions holds a "%".
    const bool hasPercent = text.find('%') != std::string::npos;
    hasDollarBrace = text.find("${") != std::string::npos ? 1 : 0;
    hasHttpHeader = hasPercent && kHttpHeaderReference.FoundIn(text) ? 1 : 0;
    hasPercentBrace = hasPercent && kPercentBraceReference.FoundIn(text) ? 1 : 0;
}

}}}
