#include "OldDirectives.h"

#include <exception>
#include <vector>

namespace {

struct OldDirectivePattern {
    OldDirective directive;
    // Matched against the whole line, ignoring case; the second, where there is one, is tried when the
    // first does not match.
    const char* expressions[2];
};

// Tried in this order; the first directive that matches decides.
//
// The expressions are written so that a long line costs linear time: a quantifier is possessive
// ("*+", "++") wherever giving characters back cannot change whether or how the line matches. The
// condition's "(\S+)\s*(\S+)" is tried in two steps: first with blanks between its two arguments, then,
// only when that fails, with both in one word and the second one character long, which is the split a
// backtracking match of the joint form settles on. The tests compare both with the plain expressions.
const OldDirectivePattern kOldDirectives[] = {
    {OldDirective::EmptyLine, {R"(\s*)", nullptr}},
    {OldDirective::Comment, {R"(\s*+#(.*))", nullptr}},
    {OldDirective::Unsupported, {R"(\s*+(\[Quillon\]|CacheClockRate|EnableRewrite|EnableConfig).*)", nullptr}},
    {OldDirective::RepeatLimit, {R"(\s*+RepeatLimit\s++(\d++)\s*+(?:#.*)?)", nullptr}},
    {OldDirective::RFStyle, {R"(\s*+RFStyle\s++(Old|New)\s*+(?:#.*)?)", nullptr}},
    {OldDirective::UriMatchPrefix, {R"(\s*+UriMatchPrefix\s++(\S+)\s*+(?:#.*)?)", nullptr}},
    {OldDirective::UriMatchSufix, {R"(\s*+UriMatchSufix\s++(\S+)\s*+(?:#.*)?)", nullptr}},
    {OldDirective::RewriteCond,
     {R"(\s*+RewriteCond\s++(\S++)\s++(\S+)\s*+(\[[^\]]++\])?\s*+(#.*)?)",
      R"(\s*+RewriteCond\s++(\S+)(\S)\s*+(\[[^\]]++\])?\s*+(#.*)?)"}},
    {OldDirective::RewriteRule,
     {R"(\s*+RewriteRule\s++(\S++)\s++(\S+)\s*+(?:\[([^\]]++)\])?\s*+(#.*)?)", nullptr}},
    {OldDirective::RewriteHeader,
     {R"(\s*+RewriteHeader\s++(\S++)\s++(\S++)\s++(\S+)\s*+(?:\[([^\]]++)\])?\s*+(#.*)?)", nullptr}},
    {OldDirective::RewriteProxy,
     {R"(\s*+RewriteProxy\s++(\S++)\s++(\S+)\s*+(?:\[([^\]]++)\])?\s*+(#.*)?)", nullptr}},
};

struct CompiledDirective {
    OldDirective directive;
    std::vector<boost::regex> expressions;
};

const std::vector<CompiledDirective>& CompiledDirectives()
{
    static const std::vector<CompiledDirective> compiled = [] {
        std::vector<CompiledDirective> table;
        for (const OldDirectivePattern& entry : kOldDirectives) {
            CompiledDirective directive{entry.directive, {}};
            for (const char* expression : entry.expressions) {
                if (expression)
                    directive.expressions.emplace_back(expression, boost::regex::perl | boost::regex::icase);
            }
            table.push_back(directive);
        }
        return table;
    }();
    return compiled;
}

}

// A match that the expression library gives up on (too complex for the line) counts as no match, so
// the line is kept as a comment.
OldDirective ClassifyOldLine(const std::string& line, boost::smatch& groups)
{
    for (const CompiledDirective& directive : CompiledDirectives()) {
        for (const boost::regex& expression : directive.expressions) {
            try {
                if (boost::regex_match(line, groups, expression))
                    return directive.directive;
            } catch (const std::exception&) {
            }
        }
    }
    groups = boost::smatch();
    return OldDirective::Unknown;
}
