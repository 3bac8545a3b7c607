#pragma once
// The directive tables of the containers: one row per directive or section tag, in the order in which
// the container's parser tries them. Each row says where it is tried, which expression the whole line
// must match, and what is done then. Defined beside the parser that uses them; declared here for the
// cross-checks of the tests.
#include <cstddef>
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
    Verdict (*handle)(Container& container, const Captures& groups, const std::string& line);
};

// The rows in order: the first row that is tried, matches and does not pass decides; no row, refused.
template <typename Container>
bool ParseWithTable(const DirectiveRow<Container>* rows, std::size_t count, Container& container,
                    const std::string& line)
{
    const LineText text(line);
    Captures groups;
    for (const DirectiveRow<Container>* row = rows; row != rows + count; ++row) {
        if (!row->expression.CanMatch(text) || !row->where(container) || !row->expression.MatchAfterCheck(text, groups))
            continue;
        const Verdict verdict = row->handle(container, groups, line);
        if (verdict != Verdict::Pass)
            return verdict == Verdict::Accept;
    }
    return false;
}

// The expressions of a table in order, without the rows that take every line: the numbering of the
// language's expressions.
template <typename Container>
std::vector<const LineExpression*> ExpressionsOf(const DirectiveRow<Container>* rows, std::size_t count)
{
    std::vector<const LineExpression*> expressions;
    for (std::size_t i = 0; i < count; ++i)
        if (rows[i].expression.text != nullptr)
            expressions.push_back(&rows[i].expression);
    return expressions;
}

// The separator of physical lines in Htaccess::ParseText.
extern const boost::regex kLineSeparator;

// Htaccess::ParseLine (expressions 1 to 24).
extern const DirectiveRow<Htaccess> kDirectoryTable[];
extern const std::size_t kDirectoryTableSize;

// The RewriteRule line of the directory level, and its form with an optional substitution that the rule
// tester's test run reads.
const LineExpression& RuleLineExpression();
extern const LineExpression kRuleLineSubstitutionOptional;

// VirtualHostHtaccess::ParseLine (expressions 25 to 34).
extern const DirectiveRow<VirtualHostHtaccess> kVirtualHostTable[];
extern const std::size_t kVirtualHostTableSize;

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

}}}
