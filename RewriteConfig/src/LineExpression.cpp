#include "LineExpression.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <stdexcept>

#include "DirectiveTables.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon { namespace Detail {

namespace {

bool IsSpace(char c)
{
    return RegexSpaces()[static_cast<unsigned char>(c)];
}

std::size_t SkipSpaces(const std::string& text, std::size_t from)
{
    const std::bitset<256>& spaces = RegexSpaces();
    while (from < text.size() && spaces[static_cast<unsigned char>(text[from])])
        ++from;
    return from;
}

// Whether the text at from begins with the keyword, ASCII letters in either case.
bool HasKeywordAt(const std::string& text, std::size_t from, const char* keyword)
{
    for (; *keyword != '\0'; ++keyword, ++from)
        if (from >= text.size() || LowerAscii(text[from]) != *keyword)
            return false;
    return true;
}

// A character of the expression syntax that stands for itself alone: letters, digits and the few
// punctuation characters of the keywords.
bool IsPlainLiteral(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#' || c == '/';
}

bool IsQuantifier(char c)
{
    return c == '*' || c == '+' || c == '?' || c == '{';
}

// The end of one alternative of the expression text at p: the "|" or ")" that ends it at its own
// depth, or the end of the text. Escapes and bracket sets are stepped over whole.
const char* EndOfAlternative(const char* p)
{
    int depth = 0;
    for (; *p != '\0'; ++p) {
        if (*p == '\\') {
            if (p[1] == '\0')
                return p + 1;
            ++p;
        } else if (*p == '[') {
            ++p;
            if (*p == '^')
                ++p;
            if (*p == ']')
                ++p;
            while (*p != '\0' && *p != ']') {
                if (*p == '\\' && p[1] != '\0')
                    ++p;
                ++p;
            }
            if (*p == '\0')
                return p;
        } else if (*p == '(') {
            ++depth;
        } else if (*p == ')' || *p == '|') {
            if (depth == 0)
                return p;
            if (*p == ')')
                --depth;
        }
    }
    return p;
}

// Whether the expression text at p, up to the end of its alternative, only matches text that begins
// with keyword: plain literals equal to the keyword's characters (case aside) and not quantified,
// possibly ending in a group, not quantified, each of whose alternatives begins so.
bool BeginsWithKeyword(const char* p, const char* keyword)
{
    for (; *keyword != '\0'; ++keyword, ++p) {
        if (*p == '(') {
            const char* alternative = p + 1;
            if (alternative[0] == '?') {
                if (alternative[1] != ':')
                    return false;
                alternative += 2;
            }
            for (;;) {
                if (!BeginsWithKeyword(alternative, keyword))
                    return false;
                const char* end = EndOfAlternative(alternative);
                if (*end == '|') {
                    alternative = end + 1;
                    continue;
                }
                return *end == ')' && !IsQuantifier(end[1]);
            }
        }
        if (!IsPlainLiteral(*p) || LowerAscii(*p) != *keyword || IsQuantifier(p[1]))
            return false;
    }
    return true;
}

LineExpression::KeywordPlace PlaceOf(const char* text, const char* keyword)
{
    if (keyword == nullptr)
        return LineExpression::Blank;
    if (*keyword == '\0')
        return LineExpression::Anywhere;
    // The keyword's first character must not be white space, or the leading white space could end
    // before it.
    // An alternation at the top would let other alternatives match lines without the keyword.
    if (*EndOfAlternative(text) != '\0')
        return LineExpression::Anywhere;
    if (!IsSpace(keyword[0]) && !IsSpace(static_cast<char>(std::toupper(static_cast<unsigned char>(keyword[0]))))) {
        if (std::strncmp(text, "\\s*", 3) == 0 && BeginsWithKeyword(text + 3, keyword))
            return LineExpression::AfterSpaces;
        if (std::strncmp(text, "<\\s*", 4) == 0 && BeginsWithKeyword(text + 4, keyword))
            return LineExpression::AfterTagOpen;
    }
    return LineExpression::Anywhere;
}

// The kHeadLength characters of text from from as LineText::head packs them.
std::uint64_t HeadAt(const std::string& text, std::size_t from)
{
    static_assert(kHeadLength == sizeof(std::uint64_t), "a head is one word");
    std::uint64_t head = 0;
    const std::size_t count = from < text.size() ? std::min(kHeadLength, text.size() - from) : 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // A whole word where the text has one, which the compiler reads at once.
    if (count == kHeadLength)
        std::memcpy(&head, text.data() + from, kHeadLength);
    else
        std::memcpy(&head, text.data() + from, count);
#else
    for (std::size_t i = 0; i < count; ++i)
        head |= std::uint64_t(static_cast<unsigned char>(text[from + i])) << (8 * i);
#endif
    // ASCII capitals to lower case, eight bytes at once: in the low seven bits of each byte,
    // adding 0x3F sets bit 7 from "A" up and adding 0x25 from "Z" + 1 up; bytes from 0x80 stay. The
    // bit 7 of each capital, moved to bit 5 (0x20), is the difference of the cases.
    const std::uint64_t ones = 0x0101010101010101ULL;
    const std::uint64_t low = head & (0x7F * ones);
    const std::uint64_t capital = (low + 0x3F * ones) & ~(low + 0x25 * ones) & ~head & (0x80 * ones);
    return head | (capital >> 2);
}

// The mask of the low count bytes of a head.
std::uint64_t LowBytes(std::size_t count)
{
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < count; ++i)
        mask |= std::uint64_t(0xFF) << (8 * i);
    return mask;
}

}

LineText::LineText(const std::string& line)
    : text(line), start(SkipSpaces(line, 0)), head(HeadAt(line, start)), tagStart(line.size()), tagHead(0)
{
    if (!line.empty() && line[0] == '<') {
        tagStart = SkipSpaces(line, 1);
        tagHead = HeadAt(line, tagStart);
    }
}

LineExpression::LineExpression(const char* expressionText, const char* keywordText)
    : text(expressionText), keyword(keywordText), linear(expressionText, kNoCase),
      place(PlaceOf(expressionText, keywordText))
{
    if (keyword != nullptr) {
        const std::size_t length = std::strlen(keyword);
        const std::string head(keyword, std::min(length, kHeadLength));
        keywordHead_ = HeadAt(head, 0);
        keywordMask_ = LowBytes(head.size());
        longKeyword_ = length > kHeadLength;
        if (longKeyword_) {
            const std::string next(keyword + kHeadLength, std::min(length - kHeadLength, kHeadLength));
            nextHead_ = HeadAt(next, 0);
            nextMask_ = LowBytes(next.size());
        }
    }
}

LineExpression::LineExpression(EveryLine)
    : text(nullptr), keyword(""), linear("", kNoCase), place(Anywhere)
{
}

bool LineExpression::KeywordAt(const LineText& line, std::size_t at) const
{
    // The head has already matched the first eight characters; the next eight are compared at once,
    // and any after them one by one.
    const std::size_t rest = 2 * kHeadLength;
    return (HeadAt(line.text, at + kHeadLength) & nextMask_) == nextHead_ &&
           (nextMask_ != ~std::uint64_t(0) || HasKeywordAt(line.text, at + rest, keyword + rest));
}

void RowIndex::Build(const std::vector<const LineExpression*>& expressions)
{
    if (expressions.size() >= kEnd)
        throw std::logic_error("a directive table too long for its index");
    std::map<std::vector<std::uint8_t>, std::uint16_t> lists;
    for (std::size_t key = 0; key < kKeys; ++key) {
        const unsigned char first = static_cast<unsigned char>(key & kCharMask);
        const std::size_t eighth = key >> kCharBits;
        std::vector<std::uint8_t> list;
        for (std::size_t i = 0; i < expressions.size(); ++i) {
            const LineExpression& expression = *expressions[i];
            bool listed = true;
            if (expression.place == LineExpression::AfterSpaces) {
                const char* const keyword = expression.keyword;
                listed = static_cast<unsigned char>(LowerAscii(keyword[0])) == first &&
                         (std::strlen(keyword) < kHeadLength ||
                          (static_cast<unsigned char>(LowerAscii(keyword[kHeadLength - 1])) & kEighthMask) == eighth);
            } else if (expression.place == LineExpression::AfterTagOpen) {
                listed = first == '<';
            }
            if (listed)
                list.push_back(static_cast<std::uint8_t>(i));
        }
        list.push_back(kEnd);
        const auto found = lists.emplace(list, static_cast<std::uint16_t>(rows_.size()));
        if (found.second) {
            if (rows_.size() + list.size() > UINT16_MAX)
                throw std::logic_error("a directive table index too large");
            rows_.insert(rows_.end(), list.begin(), list.end());
        }
        start_[key] = found.first->second;
    }
}

}}}
