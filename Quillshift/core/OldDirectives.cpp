#include "OldDirectives.h"

#include <vector>

// The model's matcher answers in time proportional to the line, with the groups of a backtracking match.
const OldDirectivePattern kOldDirectives[] = {
    {OldDirective::EmptyLine, R"(\s*)"},
    {OldDirective::Comment, R"(\s*#(.*))"},
    {OldDirective::Unsupported, R"(\s*(\[Quillon\]|CacheClockRate|EnableRewrite|EnableConfig).*)"},
    {OldDirective::RepeatLimit, R"(\s*RepeatLimit\s+(\d+)\s*(?:#.*)?)"},
    {OldDirective::RFStyle, R"(\s*RFStyle\s+(Old|New)\s*(?:#.*)?)"},
    {OldDirective::UriMatchPrefix, R"(\s*UriMatchPrefix\s+(\S+)\s*(?:#.*)?)"},
    {OldDirective::UriMatchSufix, R"(\s*UriMatchSufix\s+(\S+)\s*(?:#.*)?)"},
    {OldDirective::RewriteCond, R"(\s*RewriteCond\s+(\S+)\s*(\S+)\s*(\[[^\]]+\])?\s*(#.*)?)"},
    {OldDirective::RewriteRule, R"(\s*RewriteRule\s+(\S+)\s+(\S+)\s*(?:\[([^\]]+)\])?\s*(#.*)?)"},
    {OldDirective::RewriteHeader, R"(\s*RewriteHeader\s+(\S+)\s+(\S+)\s+(\S+)\s*(?:\[([^\]]+)\])?\s*(#.*)?)"},
    {OldDirective::RewriteProxy, R"(\s*RewriteProxy\s+(\S+)\s+(\S+)\s*(?:\[([^\]]+)\])?\s*(#.*)?)"},
};
const std::size_t kOldDirectiveCount = sizeof(kOldDirectives) / sizeof(kOldDirectives[0]);

namespace {

struct CompiledDirective {
    OldDirective directive;
    Orvane::Quillon::WholeLineMatcher matcher;
};

const std::vector<CompiledDirective>& CompiledDirectives()
{
    static const std::vector<CompiledDirective> compiled = [] {
        std::vector<CompiledDirective> table;
        for (const OldDirectivePattern& entry : kOldDirectives)
            table.push_back(CompiledDirective{entry.directive, Orvane::Quillon::WholeLineMatcher(entry.expression)});
        return table;
    }();
    return compiled;
}

}

OldDirective ClassifyOldLine(const std::string& line, OldGroups& groups)
{
    for (const CompiledDirective& directive : CompiledDirectives()) {
        if (directive.matcher.Match(line, groups.parts)) {
            groups.line = &line;
            return directive.directive;
        }
    }
    groups = OldGroups();
    return OldDirective::Unknown;
}

std::string OldGroups::Text(std::size_t index) const
{
    return index < parts.size() && line != nullptr ? parts[index].In(*line) : std::string();
}

bool OldGroups::Matched(std::size_t index) const
{
    return index < parts.size() && parts[index].matched;
}
