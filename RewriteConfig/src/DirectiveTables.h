#pragma once
// The directive tables of the containers: one row per directive or section tag, in the order in which
// the container's parser tries them. Each row says where it is tried, which expression the whole line
// must match, and what is done then. Defined beside the parser that uses them; declared here for the
// cross-checks of the tests.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "LineExpression.h"

namespace Orvane { namespace Quillon {

class Htaccess;
class VirtualHostHtaccess;
class QuillonConfig;

namespace Detail {

// What a row's handler makes of the line: accepted, refused, or left to the rows that follow.
enum class Verdict { Accept, Refuse, Pass };

template <typename Container>
struct DirectiveRow {
    LineExpression expression;
    // Whether the row is tried in the container's present state.
    bool (*where)(const Container& container);
    Verdict (*handle)(Container& container, const Captures& groups, const LineText& line);
};

// For each first byte of a line's text after its leading white space and the low four bits of its
// eighth byte (ASCII letters in lower case, as in LineText::head), the rows of one table whose cheap
// check can pass on such a line, in table order: a row whose keyword follows the white space is
// listed under the keyword's first character (and, for a keyword of eight characters or more, under
// its eighth), a row whose keyword follows "<" under "<", and every other row under every key.
class RowIndex {
public:
    template <typename Container>
    RowIndex(const DirectiveRow<Container>* rows, std::size_t count)
    {
        std::vector<const LineExpression*> expressions;
        for (std::size_t i = 0; i < count; ++i)
            expressions.push_back(&rows[i].expression);
        Build(expressions);
    }

    // Ends with kEnd.
    const std::uint8_t* RowsFor(const LineText& line) const { return &rows_[start_[KeyOf(line.head)]]; }

    static constexpr std::uint8_t kEnd = 0xFF;

private:
    // A key holds the head's first character in its low byte and, above it, the low kEighthBits bits
    // of the head's eighth character.
    static constexpr unsigned kCharBits = 8;
    static constexpr unsigned kEighthBits = 4;
    static constexpr std::uint64_t kCharMask = 0xFF;
    static constexpr std::uint64_t kEighthMask = (std::uint64_t(1) << kEighthBits) - 1;
    static constexpr unsigned kEighthShift = (kHeadLength - 1) * kCharBits;
    static constexpr std::size_t kKeys = std::size_t(1) << (kCharBits + kEighthBits);

    static std::size_t KeyOf(std::uint64_t head)
    {
        const std::uint64_t first = head & kCharMask;
        const std::uint64_t eighth = head >> kEighthShift;
        return static_cast<std::size_t>(first | (eighth & kEighthMask) << kCharBits);
    }

    void Build(const std::vector<const LineExpression*>& expressions);

    // The lists, each ending with kEnd; keys with the same rows share one list.
    std::vector<std::uint8_t> rows_;
    std::uint16_t start_[kKeys] = {};
};

// The rows in order: the first row that is tried, matches and does not pass decides; no row, refused.
// Rows that the index leaves out could not match the line.
template <typename Container>
bool ParseWithTable(const DirectiveRow<Container>* rows, const RowIndex& index, Container& container,
                    const LineText& text)
{
    Captures groups;
    for (const std::uint8_t* at = index.RowsFor(text); *at != RowIndex::kEnd; ++at) {
        const DirectiveRow<Container>& row = rows[*at];
        if (!row.expression.CanMatch(text) || !row.where(container) || !row.expression.MatchAfterCheck(text, groups))
            continue;
        const Verdict verdict = row.handle(container, groups, text);
        if (verdict != Verdict::Pass)
            return verdict == Verdict::Accept;
    }
    return false;
}

// The separator of physical lines (group 1 ignored); LogicalLines finds it directly, and the tests
// hold that against the library's own matches.
constexpr char kLineSeparator[] = "(\\r)?\\n";

// Htaccess::ParseLine (expressions 1 to 24).
extern const DirectiveRow<Htaccess> kDirectoryTable[];
extern const std::size_t kDirectoryTableSize;
extern const RowIndex kDirectoryIndex;

// The RewriteRule line of the directory level, and its form with an optional substitution that the rule
// tester's test run reads.
const LineExpression& RuleLineExpression();
extern const LineExpression kRuleLineSubstitutionOptional;

// VirtualHostHtaccess::ParseLine (expressions 25 to 34).
extern const DirectiveRow<VirtualHostHtaccess> kVirtualHostTable[];
extern const std::size_t kVirtualHostTableSize;
extern const RowIndex kVirtualHostIndex;

// The rule flags with a value, in CfgRewriteRule::ParseFlag.
extern const LineExpression kRedirectFlag;
extern const LineExpression kSkipFlag;
extern const LineExpression kCookieFlag;
extern const LineExpression kTypeFlag;

// A line at the server level, and whether the VirtualHost tags are known there.
struct ServerLine {
    QuillonConfig& config;
    bool withVirtualHosts;
};

// QuillonConfig::ParseLine.
extern const DirectiveRow<ServerLine> kServerTable[];
extern const std::size_t kServerTableSize;
extern const RowIndex kServerIndex;

// The sizes of the flag tables of a rule and of a proxy rule (CfgRewriteRule.cpp), for the tests that
// hold every flag to the model's walk.
extern const std::size_t kRuleFlagTableSize;
extern const std::size_t kProxyFlagTableSize;

}}}
