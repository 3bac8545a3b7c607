#include <random>
#include <string>
#include <vector>

#include <boost/regex.hpp>
#include <gtest/gtest.h>

#include "OldDirectives.h"

namespace {

// The library's backtracking match of the converter's own expressions is the reference: its linear
// matching must classify and split every line exactly as the library does.

// Directive and groups (each group's text, or "<none>" when it did not take part), as one list.
std::vector<std::string> Describe(OldDirective directive, const boost::smatch& groups)
{
    std::vector<std::string> description{std::to_string(static_cast<int>(directive))};
    if (directive == OldDirective::Unknown)
        return description;
    for (std::size_t i = 1; i < groups.size(); ++i)
        description.push_back(groups[i].matched ? groups[i].str() : "<none>");
    return description;
}

std::vector<std::string> Describe(OldDirective directive, const OldGroups& groups)
{
    std::vector<std::string> description{std::to_string(static_cast<int>(directive))};
    if (directive == OldDirective::Unknown)
        return description;
    for (std::size_t i = 1; i < groups.Count(); ++i)
        description.push_back(groups.Matched(i) ? groups.Text(i) : "<none>");
    return description;
}

std::vector<std::string> Plain(const std::string& line)
{
    static const std::vector<boost::regex> expressions = [] {
        std::vector<boost::regex> compiled;
        for (std::size_t i = 0; i < kOldDirectiveCount; ++i)
            compiled.emplace_back(kOldDirectives[i].expression, boost::regex::perl | boost::regex::icase);
        return compiled;
    }();
    boost::smatch groups;
    for (std::size_t i = 0; i < expressions.size(); ++i) {
        if (boost::regex_match(line, groups, expressions[i]))
            return Describe(kOldDirectives[i].directive, groups);
    }
    return Describe(OldDirective::Unknown, groups);
}

std::vector<std::string> Fast(const std::string& line)
{
    OldGroups groups;
    const OldDirective directive = ClassifyOldLine(line, groups);
    return Describe(directive, groups);
}

TEST(OldDirectiveTest, SplitsLikePlainExpressions)
{
    const char* const lines[] = {
        "", "   ", "#", " # x", "[Quillon]", "enableconfig x", "RepeatLimit 12 #c", "RepeatLimit 12x",
        "RFStyle new", "UriMatchPrefix /a#b", "UriMatchPrefix /a#b x", "UriMatchSufix /s ",
        "RewriteCond URL", "RewriteCond URL /x", "RewriteCond URL /x [NC] #c", "RewriteCond ab[x]",
        "RewriteCond ab#c d", "RewriteCond a[b]c", "RewriteCond a b c", "RewriteCond abc[x] #y",
        "RewriteCond a[x] [y]", "RewriteCond a", "RewriteRule /a /b [I,L] #c", "RewriteRule /a /b[x]#y",
        "RewriteRule /a /b#c d", "RewriteRule /a", "RewriteRule /a /b [x] y", "rewriterule a b [ x ]",
        "RewriteHeader X a b", "RewriteHeader X a b[c] #d", "RewriteProxy /a http://b [D] #x",
        "RewriteProxy /a b c",
    };
    for (const char* line : lines)
        EXPECT_EQ(Fast(line), Plain(line)) << line;
}

TEST(OldDirectiveTest, RandomLinesSplitLikePlainExpressions)
{
    const char* const keywords[] = {"RewriteCond", "RewriteRule", "RewriteHeader", "RewriteProxy", "RepeatLimit",
                                    "UriMatchPrefix", "RFStyle", "rewritecond"};
    const char alphabet[] = {' ', ' ', '\t', 'a', 'b', '1', '[', ']', '#', 'N', '!'};
    std::mt19937 random(20261210);
    for (int n = 0; n < 15000; ++n) {
        std::string line(random() % 3, ' ');
        line += keywords[random() % (sizeof keywords / sizeof keywords[0])];
        const std::size_t length = random() % 14;
        for (std::size_t i = 0; i < length; ++i)
            line += alphabet[random() % sizeof alphabet];
        ASSERT_EQ(Fast(line), Plain(line)) << '"' << line << '"';
    }
}

// Lines of a megabyte are classified in linear time; the plain expressions would give up after
// seconds of backtracking on most of these.
TEST(OldDirectiveTest, LongLinesClassifyQuickly)
{
    const std::size_t n = 1u << 20;
    const std::string blanks(n, ' ');
    const std::string word(n, 'a');
    struct Case {
        std::string line;
        OldDirective directive;
    };
    const Case cases[] = {
        {"RewriteRule a b" + blanks + "x", OldDirective::Unknown},
        {"RewriteCond a b" + blanks + "x", OldDirective::Unknown},
        {"RewriteHeader a b c" + blanks + "x", OldDirective::Unknown},
        {"RewriteCond a" + blanks + "b" + blanks + "x", OldDirective::Unknown},
        {"RewriteCond " + word + " x y z", OldDirective::Unknown},
        {"RewriteCond " + word + " x [NC]" + blanks + "#" + word, OldDirective::RewriteCond},
        {"RewriteRule /" + word + " /b" + blanks, OldDirective::RewriteRule},
        {blanks + "x", OldDirective::Unknown},
        {blanks, OldDirective::EmptyLine},
    };
    for (const Case& c : cases) {
        OldGroups groups;
        EXPECT_EQ(ClassifyOldLine(c.line, groups), c.directive) << c.line.substr(0, 20);
    }
}

}
