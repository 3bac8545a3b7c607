#pragma once
// One directive or section expression, matched against a whole logical line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "LinearMatcher.h"

namespace Orvane { namespace Quillon { namespace Detail {

// The characters of a line that one word holds for the cheap checks (LineText::head), one byte each.
constexpr std::size_t kHeadLength = 8;

// A line as the parsers look at it. It refers to the text, which must outlive it and the groups of
// its matches.
class LineText {
public:
    explicit LineText(const std::string& text);
    const std::string& text;
    // Where the text after its leading white space (the library's "\s") begins, and its first eight
    // characters there with ASCII letters in lower case, packed into one word (the first in the
    // lowest byte, zero bytes past the end).
    std::size_t start;
    std::uint64_t head;
    // For a text that begins with "<": the same after the white space that follows it (else a head
    // of zero bytes, which no keyword begins with).
    std::size_t tagStart;
    std::uint64_t tagHead;
};

class LineExpression {
public:
    // keyword: lower-case text that every whole-line match contains ("" when there is none, nullptr
    // for the blank line, which no printable ASCII character can be part of).
    LineExpression(const char* text, const char* keyword);
    // The expression of a table row that takes every line and gives no groups.
    struct EveryLine {};
    LineExpression(EveryLine);

    const char* const text;
    const char* const keyword;
    const LinearMatcher linear;

    // How the cheap check finds the keyword. An expression that begins with "\s*" and then the
    // keyword (literal characters, or a group each of whose alternatives begins with the rest of it)
    // only matches a line whose text after the leading white space begins with the keyword; one that
    // begins with "<\s*" and then the keyword, a line that begins with "<", white space, the keyword.
    // Of any other form every line goes to the matcher.
    enum KeywordPlace { Blank, Anywhere, AfterSpaces, AfterTagOpen };
    const KeywordPlace place;

    // The cheap check: false only when the whole-line match cannot succeed. The expressions are built
    // before main, with the classic locale, so a case-insensitive match of a keyword letter is an ASCII
    // letter of either case, and white space is never printable ASCII.
    bool CanMatch(const LineText& line) const
    {
        // The first eight characters of the keyword are compared at once; most lines fail there.
        if (place == AfterSpaces)
            return (line.head & keywordMask_) == keywordHead_ && (!longKeyword_ || KeywordAt(line, line.start));
        if (place == AfterTagOpen)
            return (line.tagHead & keywordMask_) == keywordHead_ && (!longKeyword_ || KeywordAt(line, line.tagStart));
        if (place == Blank) {
            // The first character after the leading white space is enough to refuse most lines.
            const unsigned char first = line.start < line.text.size() ? static_cast<unsigned char>(line.text[line.start]) : 0;
            return first <= ' ' || first >= 0x7F;
        }
        return true;
    }
    // The whole-line match and its groups, after the cheap check.
    bool Match(const LineText& line, Captures& what) const { return CanMatch(line) && MatchAfterCheck(line, what); }
    bool MatchAfterCheck(const LineText& line, Captures& what) const
    {
        return text == nullptr || linear.MatchGroups(line.text, what);
    }

private:
    // The keyword's first eight characters packed as in LineText::head, the mask of their bytes, and
    // whether the keyword has more.
    std::uint64_t keywordHead_ = 0;
    std::uint64_t keywordMask_ = 0;
    bool longKeyword_ = false;
    // The same for the keyword's characters from the ninth to the sixteenth.
    std::uint64_t nextHead_ = 0;
    std::uint64_t nextMask_ = 0;

    // Whether the keyword's characters past the eighth follow at + 8.
    bool KeywordAt(const LineText& line, std::size_t at) const;
};

}}}
