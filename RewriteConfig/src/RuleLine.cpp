#include "RewriteConfig/RuleLine.h"

#include "DirectiveTables.h"

namespace Orvane { namespace Quillon {

namespace {

LinePart PartOf(const Detail::Captures::Group& group)
{
    LinePart part;
    part.matched = group.matched;
    part.begin = group.begin;
    part.length = group.length;
    return part;
}

}

bool MatchRewriteRuleLine(const std::string& line, RuleLineForm form, RuleLinePlaces& places)
{
    const Detail::LineExpression& expression =
        form == RuleLineForm::Directive ? Detail::RuleLineExpression() : Detail::kRuleLineSubstitutionOptional;
    Detail::Captures groups;
    if (!expression.Match(Detail::LineText(line), groups))
        return false;
    places.pattern = PartOf(groups[1]);
    places.substitution = PartOf(groups[2]);
    places.flags = PartOf(groups[3]);
    return true;
}

}}
