#pragma once
// Expressions that rules and conditions share: the flag list separator and the reference scans.
#include <bitset>
#include <string>

#include <boost/regex.hpp>

#include "LinearMatcher.h"

namespace Orvane { namespace Quillon { namespace Detail {

// The separator of flag lists: a comma with the white space around it. Found directly below; the
// tests hold the library's own split by this expression against it.
constexpr char kFlagSeparator[] = "\\s*,\\s*";

// Hands visit the pieces of a flag list between the matches of kFlagSeparator, one after the other, with
// the piece rules of regex_split (empty pieces before the first produced piece and an empty rest are
// left out); stops and returns false when visit does. Each match is found directly: it starts at the
// white space right before the next comma and ends after the white space that follows it.
template <typename Visit>
bool ForEachFlagPiece(const std::string& text, Visit visit)
{
    const std::bitset<256>& spaces = RegexSpaces();
    auto isSpace = [&spaces](char c) { return spaces[static_cast<unsigned char>(c)]; };
    std::string::size_type rest = 0;
    bool produced = false;
    for (;;) {
        // Flag lists are short: a plain look at each character.
        std::string::size_type comma = rest;
        while (comma < text.size() && text[comma] != ',')
            ++comma;
        if (comma == text.size())
            break;
        std::string::size_type start = comma;
        while (start > rest && isSpace(text[start - 1]))
            --start;
        std::string::size_type end = comma + 1;
        while (end < text.size() && isSpace(text[end]))
            ++end;
        if (start != rest || produced) {
            if (!visit(std::string(text, rest, start - rest)))
                return false;
            produced = true;
        }
        rest = end;
    }
    return rest == text.size() || visit(std::string(text, rest, std::string::npos));
}

// Assigns 1 or 0: "${" anywhere (the expression "\$\{"); a %{HTTP:name} reference; a %{name} reference (also set by the second).
void ScanReferences(const std::string& text, unsigned char& hasDollarBrace, unsigned char& hasHttpHeader,
                    unsigned char& hasPercentBrace);

}}}
