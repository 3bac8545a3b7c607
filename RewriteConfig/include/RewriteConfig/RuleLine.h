#pragma once
// The RewriteRule line as the directory-level parser reads it, for the programs that show or test one
// rule: the same expression, matched in time proportional to the line.
#include <cstddef>
#include <string>

namespace Orvane { namespace Quillon {

// Where one part of a matched line stands, as byte offsets into the line.
struct LinePart {
    bool matched = false;
    std::size_t begin = 0;
    std::size_t length = 0;

    std::string In(const std::string& line) const { return matched ? line.substr(begin, length) : std::string(); }
};

struct RuleLinePlaces {
    LinePart pattern;       // as written, with a leading "!" when the rule is negated
    LinePart substitution;  // unmatched only in the SubstitutionOptional form
    LinePart flags;         // without the brackets
};

enum class RuleLineForm {
    Directive,            // as the parser reads it: the substitution must be there
    SubstitutionOptional  // the rule tester's test run: the substitution may be missing
};

// Whole-line match, case-insensitive; false when the line does not have the form.
bool MatchRewriteRuleLine(const std::string& line, RuleLineForm form, RuleLinePlaces& places);

}}
