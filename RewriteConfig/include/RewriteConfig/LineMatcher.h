#pragma once
// A fixed expression of the tools' own, matched against whole lines the way the configuration model
// matches its directive table: in time proportional to the line, with the groups that the library's
// backtracking match gives. For expressions in the tables' small syntax: literals, escaped
// punctuation, ".", "\s", "\S", "\d", bracket sets, groups "(...)" and "(?:...)", "|", and the greedy
// "*", "+", "?"; always case-insensitive.
#include <memory>
#include <string>
#include <vector>

#include "RewriteConfig/RuleLine.h"

namespace Orvane { namespace Quillon {

namespace Detail {
class LinearMatcher;
}

class WholeLineMatcher {
public:
    explicit WholeLineMatcher(const char* expression);
    ~WholeLineMatcher();
    WholeLineMatcher(WholeLineMatcher&&) noexcept;

    // False for an expression outside that syntax; such a matcher matches no line.
    bool Usable() const;
    // groups[0] is the line, groups[n] the n-th group.
    bool Match(const std::string& line, std::vector<LinePart>& groups) const;

private:
    std::unique_ptr<const Detail::LinearMatcher> linear_;
};

}}
