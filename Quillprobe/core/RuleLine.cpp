#include "RuleLine.h"

#include "ProbeTexts.h"

namespace Orvane { namespace Quillprobe {

namespace {

void AppendFlag(std::string& list, const std::string& flag)
{
    list += flag;
    list += ',';
}

}

bool MatchRuleLine(const std::string& line, LineForm form, RuleLineParts& parts)
{
    Quillon::RuleLinePlaces places;
    if (!Quillon::MatchRewriteRuleLine(line, form == LineForm::Split ? Quillon::RuleLineForm::Directive
                                                                 : Quillon::RuleLineForm::SubstitutionOptional,
                              places))
        return false;
    parts = RuleLineParts();
    parts.pattern = places.pattern.In(line);
    parts.patternStart = places.pattern.begin;
    parts.patternLength = places.pattern.length;
    parts.hasSubstitution = places.substitution.matched;
    if (parts.hasSubstitution) {
        parts.substitution = places.substitution.In(line);
        parts.substitutionStart = places.substitution.begin;
        parts.substitutionLength = places.substitution.length;
    }
    parts.flagsText = places.flags.In(line);
    return true;
}

void SetRulePattern(Quillon::CfgRewriteRule& rule, const std::string& text)
{
    if (!text.empty() && text[0] == '!') {
        rule.negate = 1;
        rule.pattern = text.substr(1);
    } else {
        rule.negate = 0;
        rule.pattern = text;
    }
}

std::string ComposeRuleLine(const Quillon::CfgRewriteRule& rule)
{
    // The negation mark is written back, or a composed line would invert a negated rule.
    std::string line = "RewriteRule ";
    if (rule.negate)
        line += '!';
    line += rule.pattern;
    line += ' ';
    line += rule.substitution;
    line += ' ';

    std::string flags;
    if (rule.redirectCode != 0)
        AppendFlag(flags, "R=" + std::to_string(rule.redirectCode));
    if (rule.forbidden) AppendFlag(flags, "F");
    if (rule.gone) AppendFlag(flags, "G");
    if (rule.proxy) AppendFlag(flags, "P");
    if (rule.last) AppendFlag(flags, "L");
    if (rule.next) AppendFlag(flags, "N");
    if (rule.chain) AppendFlag(flags, "C");
    if (rule.nocase) AppendFlag(flags, "NC");
    if (rule.qsappend) AppendFlag(flags, "QSA");
    if (rule.noescape) AppendFlag(flags, "NE");
    if (rule.skipCount != 0)
        AppendFlag(flags, "S=" + std::to_string(rule.skipCount));
    if (!rule.cookieName.empty()) {
        std::string cookie = "CO=" + rule.cookieName + ":" + rule.cookieValue;
        if (!rule.cookieDomain.empty())
            cookie += ":" + rule.cookieDomain;
        if (rule.cookieLifetime != 0)
            cookie += ":" + std::to_string(rule.cookieLifetime / 60);
        if (!rule.cookiePath.empty())
            cookie += ":" + rule.cookiePath;
        AppendFlag(flags, cookie);
    }
    if (!rule.mimeType.empty())
        AppendFlag(flags, "T=" + rule.mimeType);
    if (rule.loop) AppendFlag(flags, "LP");
    if (rule.U) AppendFlag(flags, "U");
    if (rule.O) AppendFlag(flags, "O");
    if (rule.CL) AppendFlag(flags, "CL");
    if (rule.CU) AppendFlag(flags, "CU");

    if (!flags.empty()) {
        flags.back() = ']';
        line += " [";
        line += flags;
    }
    return line;
}

SplitOutcome SplitRuleLine(Quillon::CfgRewriteRule& rule, const std::string& line)
{
    SplitOutcome outcome;
    rule.ResetFlags();
    if (!MatchRuleLine(line, LineForm::Split, outcome.parts)) {
        outcome.error = Texts::kBadRuleFormat;
        return outcome;
    }
    rule.pattern = outcome.parts.pattern;
    rule.substitution = outcome.parts.substitution;
    rule.flagsText = outcome.parts.flagsText;
    std::string errors;
    if (!rule.Compile(errors)) {
        outcome.error = errors;
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}

}}
