#include "RuleLine.h"

#include <exception>

#include <boost/regex.hpp>

#include "ProbeTexts.h"

namespace Orvane { namespace Quillprobe {

namespace {

const boost::regex& SplitLinePattern()
{
    static const boost::regex expression(
        "\\s*RewriteRule\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?",
        boost::regex::perl | boost::regex::icase);
    return expression;
}

const boost::regex& TestLinePattern()
{
    static const boost::regex expression(
        "\\s*RewriteRule\\s+(\\S+)\\s+(\\S+)?\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?",
        boost::regex::perl | boost::regex::icase);
    return expression;
}

// Built before main so that threads never race on the first use.
const bool patternsReady = (SplitLinePattern(), TestLinePattern(), true);

void AppendFlag(std::string& list, const std::string& flag)
{
    list += flag;
    list += ',';
}

}

bool MatchRuleLine(const std::string& line, LineForm form, RuleLineParts& parts)
{
    (void)patternsReady;
    boost::smatch what;
    try {
        if (!boost::regex_match(line, what,
                                form == LineForm::Split ? SplitLinePattern() : TestLinePattern()))
            return false;
    } catch (const std::exception&) {
        return false;
    }
    parts = RuleLineParts();
    parts.pattern = what.str(1);
    parts.patternStart = static_cast<std::size_t>(what.position(1));
    parts.patternLength = static_cast<std::size_t>(what.length(1));
    parts.hasSubstitution = what[2].matched;
    if (parts.hasSubstitution) {
        parts.substitution = what.str(2);
        parts.substitutionStart = static_cast<std::size_t>(what.position(2));
        parts.substitutionLength = static_cast<std::size_t>(what.length(2));
    }
    if (what[3].matched)
        parts.flagsText = what.str(3);
    return true;
}

void ResetRuleFlags(Quillon::CfgRewriteRule& rule)
{
    rule.negate = 0;
    rule.redirectCode = 0;
    rule.forbidden = 0;
    rule.gone = 0;
    rule.proxy = 0;
    rule.last = 0;
    rule.next = 0;
    rule.chain = 0;
    rule.nocase = 0;
    rule.qsappend = 0;
    rule.noescape = 0;
    rule.skipCount = 0;
    rule.cookieName.clear();
    rule.cookieValue.clear();
    rule.cookieDomain.clear();
    rule.cookieLifetime = 0;
    rule.cookiePath.clear();
    rule.mimeType.clear();
    rule.loop = 0;
    rule.U = 0;
    rule.O = 0;
    rule.CL = 0;
    rule.CU = 0;
    rule.hasDollarBraceReference = 0;
    rule.hasHttpHeaderReference = 0;
    rule.hasPercentBraceReference = 0;
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
    ResetRuleFlags(rule);
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
