#pragma once
// The RewriteRule line of the tester: split into the rule's fields and composed back from them.
#include <cstddef>
#include <string>

#include <RewriteConfig/RewriteConfig.h>

namespace Orvane { namespace Quillprobe {

// Where the parts of a rule line stand; positions are byte indexes into the 8-bit line.
struct RuleLineParts {
    std::string pattern;       // as written, with a leading "!" when the rule is negated
    std::string substitution;
    std::string flagsText;     // without the brackets
    std::size_t patternStart = 0;
    std::size_t patternLength = 0;
    bool hasSubstitution = false;
    std::size_t substitutionStart = 0;
    std::size_t substitutionLength = 0;
};

enum class LineForm {
    Split,  // the split of the Rule field: the substitution must be there
    Test    // the test run: the substitution may be missing
};

// Matches the whole line, case-insensitively, against the RewriteRule form. False when it does not
// have that form.
bool MatchRuleLine(const std::string& line, LineForm form, RuleLineParts& parts);

// Stores a pattern as typed into the Regexp field: a leading "!" is the negation mark.
void SetRulePattern(Quillon::CfgRewriteRule& rule, const std::string& text);

// The rule as one line: keyword, pattern (with "!" for a negated rule), substitution, known flags.
std::string ComposeRuleLine(const Quillon::CfgRewriteRule& rule);

struct SplitOutcome {
    bool ok = false;
    std::string error;   // shown to the user when !ok
    RuleLineParts parts;
};

// Resets the rule's flags, fills it from the line and compiles it.
SplitOutcome SplitRuleLine(Quillon::CfgRewriteRule& rule, const std::string& line);

}}
