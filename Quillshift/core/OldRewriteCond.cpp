#include "OldRewriteCond.h"

#include <exception>

#include <boost/algorithm/string/predicate.hpp>

#include "OldText.h"

namespace {

// The condition parser leaves these marks, and the new language reads them, in this order.
struct CondFlagName {
    unsigned char Orvane::Quillon::CfgRewriteCond::*mark;
    const char* name;
};

const CondFlagName kCondFlagNames[] = {
    {&Orvane::Quillon::CfgRewriteCond::nocase, "NC"},
    {&Orvane::Quillon::CfgRewriteCond::ornext, "OR"},
    {&Orvane::Quillon::CfgRewriteCond::O, "O"},
};

}

void OldRewriteCond::AnchorPattern(std::string& pattern)
{
    if (pattern.empty() || pattern == ".*" || pattern == "(.*)")
        return;
    if (pattern.front() != '^')
        pattern.insert(pattern.begin(), '^');
    if (pattern.back() != '$')
        pattern.push_back('$');
}

std::string OldRewriteCond::MapTestString(const std::string& testString)
{
    if (!testString.empty() && testString.back() == ':')
        return "%{HTTP:" + testString.substr(0, testString.size() - 1) + "}";
    if (!testString.empty() && testString.front() == '%')
        return "%{" + testString.substr(1) + "}";
    if (boost::algorithm::iequals(testString, "url"))
        return "%{REQUEST_URI}";
    if (boost::algorithm::iequals(testString, "method"))
        return "%{REQUEST_METHOD}";
    if (boost::algorithm::iequals(testString, "version"))
        return "%{REQUEST_VERSION}";
    return testString;
}

bool OldRewriteCond::Convert()
{
    const std::string written = pattern;
    bool parsed = false;
    try {
        parsed = Parse();
    } catch (const std::exception&) {
        parsed = false;
    }
    // Parse only cuts characters off the front, so what it cut is the start of the written pattern.
    patternPrefix = written.substr(0, written.size() - pattern.size());

    testString = MapTestString(testString);

    // Only a regular expression is anchored in the written line: a comparison or file test keeps its
    // operand as it stands. The group count comes from the anchored text either way.
    std::string anchored = pattern;
    AnchorPattern(anchored);
    const bool isRegexp = patternPrefix.empty() || patternPrefix == "!";
    if (isRegexp)
        pattern = anchored;
    try {
        regex.assign(anchored, nocase ? boost::regex::perl | boost::regex::icase : boost::regex::perl);
    } catch (...) {
        return false;
    }
    return parsed;
}

void OldRewriteCond::Write(std::string& out) const
{
    out += "RewriteCond ";
    out += testString;
    out += ' ';
    out += patternPrefix;
    out += pattern;
    std::string flags;
    for (const CondFlagName& flag : kCondFlagNames) {
        if (this->*flag.mark) {
            flags += flags.empty() ? " [" : ",";
            flags += flag.name;
        }
    }
    if (!flags.empty())
        out += flags + "]";
    out += comment;
    out += Orvane::Quillshift::kLineEnd;
}
