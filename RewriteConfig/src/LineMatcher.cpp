#include "RewriteConfig/LineMatcher.h"

#include "LinearMatcher.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

WholeLineMatcher::WholeLineMatcher(const char* expression)
    : linear_(new Detail::LinearMatcher(expression, Detail::kNoCase))
{
}

WholeLineMatcher::~WholeLineMatcher() = default;

WholeLineMatcher::WholeLineMatcher(WholeLineMatcher&&) noexcept = default;

bool WholeLineMatcher::Usable() const
{
    return linear_->Usable();
}

bool WholeLineMatcher::Match(const std::string& line, std::vector<LinePart>& groups) const
{
    Detail::Captures captures;
    if (!linear_->MatchGroups(line, captures))
        return false;
    groups.resize(captures.size());
    for (std::size_t g = 0; g < captures.size(); ++g) {
        groups[g].matched = captures[g].matched;
        groups[g].begin = captures[g].begin;
        groups[g].length = captures[g].length;
    }
    return true;
}

}}
