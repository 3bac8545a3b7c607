#include "OldRewriteRule.h"

#include <cstddef>

#include <boost/algorithm/string/predicate.hpp>

#include "OldText.h"

namespace {

using Orvane::Quillon::CfgRewriteProxy;
using Orvane::Quillon::CfgRewriteRule;

// Old rule flag -> the mark it sets. "r" and "rp" both set the redirect code, so the later one wins.
struct RuleFlag {
    const char* oldFlag;
    unsigned char CfgRewriteRule::*mark;  // null for the redirect codes
    std::int32_t redirectCode;
};

const RuleFlag kRuleFlags[] = {
    {"i", &CfgRewriteRule::nocase, 0},
    {"f", &CfgRewriteRule::forbidden, 0},
    {"l", &CfgRewriteRule::last, 0},
    {"n", &CfgRewriteRule::next, 0},
    {"ns", &CfgRewriteRule::loop, 0},
    {"p", &CfgRewriteRule::proxy, 0},
    {"r", nullptr, 302},
    {"rp", nullptr, 301},
    {"u", &CfgRewriteRule::U, 0},
    {"o", &CfgRewriteRule::O, 0},
    {"cl", &CfgRewriteRule::CL, 0},
    {"cu", &CfgRewriteRule::CU, 0},
};

// The new flags in the order they are written.
struct WrittenFlag {
    const char* text;
    unsigned char CfgRewriteRule::*mark;  // null for the redirect codes
    std::int32_t redirectCode;
};

const WrittenFlag kWrittenRuleFlags[] = {
    {"NC", &CfgRewriteRule::nocase, 0},
    {"F", &CfgRewriteRule::forbidden, 0},
    {"L", &CfgRewriteRule::last, 0},
    {"N", &CfgRewriteRule::next, 0},
    {"LP", &CfgRewriteRule::loop, 0},
    {"P", &CfgRewriteRule::proxy, 0},
    {"R=302", nullptr, 302},
    {"R=301", nullptr, 301},
    {"U", &CfgRewriteRule::U, 0},
    {"O", &CfgRewriteRule::O, 0},
    {"CL", &CfgRewriteRule::CL, 0},
    {"CU", &CfgRewriteRule::CU, 0},
};

// Old proxy flag -> a proxy bit or a rule mark.
struct OldProxyFlag {
    const char* oldFlag;
    std::int32_t bit;
    unsigned char CfgRewriteRule::*mark;
};

const OldProxyFlag kProxyFlags[] = {
    {"d", CfgRewriteProxy::D, nullptr},
    {"c", CfgRewriteProxy::CR, nullptr},
    {"f", CfgRewriteProxy::FR, nullptr},
    {"h", CfgRewriteProxy::H, nullptr},
    {"a", CfgRewriteProxy::AU, nullptr},
    {"i", 0, &CfgRewriteRule::nocase},
    {"u", 0, &CfgRewriteRule::U},
    {"o", 0, &CfgRewriteRule::O},
};

struct WrittenProxyFlag {
    const char* text;
    std::int32_t bit;
    unsigned char CfgRewriteRule::*mark;
};

const WrittenProxyFlag kWrittenProxyFlags[] = {
    {"NC", 0, &CfgRewriteRule::nocase},
    {"U", 0, &CfgRewriteRule::U},
    {"O", 0, &CfgRewriteRule::O},
    {"D", CfgRewriteProxy::D, nullptr},
    {"CR", CfgRewriteProxy::CR, nullptr},
    {"FR", CfgRewriteProxy::FR, nullptr},
    {"H", CfgRewriteProxy::H, nullptr},
    {"AU", CfgRewriteProxy::AU, nullptr},
};

// " [A,B]" from the flags that are set, nothing when none is.
void AppendFlagList(std::string& out, const std::string& list)
{
    if (!list.empty())
        out += " [" + list + "]";
}

void AddFlag(std::string& list, const char* text)
{
    if (!list.empty())
        list += ',';
    list += text;
}

std::size_t GroupCount(const boost::regex& expression)
{
    return expression.empty() ? 0 : expression.mark_count();
}

std::string Decimal(std::size_t value)
{
    return std::to_string(value);
}

}

OldRewriteRule::OldRewriteRule() = default;
OldRewriteRule::~OldRewriteRule() = default;
OldRewriteHeader::~OldRewriteHeader() = default;
OldRewriteProxy::~OldRewriteProxy() = default;
OldComment::~OldComment() = default;
OldEmptyLine::~OldEmptyLine() = default;

void OldRewriteRule::AnchorPattern(std::string& pattern)
{
    OldRewriteCond::AnchorPattern(pattern);
}

bool OldRewriteRule::CompilePattern()
{
    AnchorPattern(pattern);
    try {
        regex.assign(pattern, nocase ? boost::regex::perl | boost::regex::icase : boost::regex::perl);
    } catch (...) {
        return false;
    }
    return true;
}

bool OldRewriteRule::Convert()
{
    for (const std::string& piece : Orvane::Quillshift::SplitFlagList(flagsText)) {
        for (const RuleFlag& flag : kRuleFlags) {
            if (piece != flag.oldFlag)
                continue;
            if (flag.mark)
                this->*flag.mark = 1;
            else
                redirectCode = flag.redirectCode;
        }
    }
    return CompilePattern();
}

bool OldRewriteProxy::Convert()
{
    for (const std::string& piece : Orvane::Quillshift::SplitFlagList(flagsText)) {
        for (const OldProxyFlag& flag : kProxyFlags) {
            if (piece != flag.oldFlag)
                continue;
            if (flag.mark)
                this->*flag.mark = 1;
            else
                proxyFlags |= flag.bit;
        }
    }
    return CompilePattern();
}

void OldRewriteRule::WriteFlags(std::string& out) const
{
    std::string list;
    for (const WrittenFlag& flag : kWrittenRuleFlags) {
        if (flag.mark ? this->*flag.mark != 0 : redirectCode == flag.redirectCode)
            AddFlag(list, flag.text);
    }
    AppendFlagList(out, list);
}

void OldRewriteProxy::WriteFlags(std::string& out) const
{
    std::string list;
    for (const WrittenProxyFlag& flag : kWrittenProxyFlags) {
        if (flag.mark ? this->*flag.mark != 0 : (proxyFlags & flag.bit) != 0)
            AddFlag(list, flag.text);
    }
    AppendFlagList(out, list);
}

std::string OldRewriteRule::Name() const
{
    return "RewriteRule ";
}

std::string OldRewriteHeader::Name() const
{
    return "RewriteHeader " + headerName + " ";
}

std::string OldRewriteProxy::Name() const
{
    return "RewriteProxy ";
}

std::string OldComment::Name() const
{
    return "# ";
}

std::string OldEmptyLine::Name() const
{
    return std::string();
}

void OldRewriteRule::Write(std::string& out)
{
    for (const OldRewriteCond& condition : oldConditions)
        condition.Write(out);
    out += Name();
    RenumberBackReferences();
    if (!pattern.empty()) {
        out += pattern;
        out += ' ';
        out += substitution;
    }
    WriteFlags(out);
    out += comment;
    out += Orvane::Quillshift::kLineEnd;
}

void OldRewriteRule::ApplyUriMatch(const std::string& prefix, const std::string& suffix)
{
    if (!boost::algorithm::istarts_with(Name(), "RewriteRule"))
        return;
    if (!pattern.empty())
        pattern.insert(pattern.front() == '^' ? 1 : 0, prefix);
    if (!substitution.empty() && !boost::algorithm::istarts_with(substitution, "http")
        && !boost::algorithm::istarts_with(substitution, "/"))
        substitution.insert(0, suffix);
}

void OldRewriteRule::RenumberBackReferences()
{
    std::size_t conditionGroups = 0;
    for (const OldRewriteCond& condition : oldConditions)
        conditionGroups += GroupCount(condition.regex);
    const std::size_t ruleGroups = GroupCount(regex);
    if (conditionGroups == 0 && ruleGroups == 0)
        return;

    // A reference is "$" and the whole run of digits behind it, so that "$12" is group 12 and not
    // group 1 followed by "2". References with a leading zero and to groups that do not exist stay.
    std::string renumbered;
    renumbered.reserve(substitution.size());
    std::size_t i = 0;
    while (i < substitution.size()) {
        const char c = substitution[i];
        if (c != '$' || i + 1 >= substitution.size() || substitution[i + 1] < '1' || substitution[i + 1] > '9') {
            renumbered += c;
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        while (end < substitution.size() && substitution[end] >= '0' && substitution[end] <= '9')
            ++end;
        const std::string digits = substitution.substr(i + 1, end - i - 1);
        // More digits than any group count can have: no such group.
        const std::size_t number = digits.size() > 9 ? 0 : std::stoul(digits);
        if (number != 0 && number <= conditionGroups)
            renumbered += "%" + Decimal(number);
        else if (number != 0 && number <= conditionGroups + ruleGroups)
            renumbered += "$" + Decimal(number - conditionGroups);
        else
            renumbered += "$" + digits;
        i = end;
    }
    substitution = renumbered;
}
