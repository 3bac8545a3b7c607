#include <cctype>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OldRewriteCond.h"
#include "OldRewriteRule.h"

namespace {

struct TextCase {
    std::string in;
    std::string out;
};

class AnchorTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(AnchorTest, AnchorsBothEnds)
{
    std::string pattern = GetParam().in;
    OldRewriteRule::AnchorPattern(pattern);
    EXPECT_EQ(pattern, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Cases, AnchorTest, ::testing::Values(
    TextCase{"/a", "^/a$"},
    TextCase{"^/a$", "^/a$"},
    TextCase{"^/a", "^/a$"},
    TextCase{"/a$", "^/a$"},
    TextCase{".*", ".*"},
    TextCase{"(.*)", "(.*)"},
    TextCase{"^.*", "^.*$"},
    TextCase{"^", "^$"},
    TextCase{"", ""}));

class TestStringTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(TestStringTest, MapsOntoNewReferences)
{
    EXPECT_EQ(OldRewriteCond::MapTestString(GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(Cases, TestStringTest, ::testing::Values(
    TextCase{"Referer:", "%{HTTP:Referer}"},
    TextCase{"%NAME", "%{NAME}"},
    TextCase{"%{NAME}", "%{{NAME}}"},
    TextCase{"URL", "%{REQUEST_URI}"},
    TextCase{"url", "%{REQUEST_URI}"},
    TextCase{"Method", "%{REQUEST_METHOD}"},
    TextCase{"VERSION", "%{REQUEST_VERSION}"},
    TextCase{"URLS", "URLS"},
    TextCase{"%a:", "%{HTTP:%a}"}));

// Builds a rule entry with conditions of the given patterns, converts all and renumbers the format.
std::string Renumber(const std::vector<std::string>& conditionPatterns, const std::string& rulePattern,
                     const std::string& format)
{
    OldRewriteRule rule;
    for (const std::string& pattern : conditionPatterns) {
        OldRewriteCond condition;
        condition.testString = "URL";
        condition.pattern = pattern;
        EXPECT_TRUE(condition.Convert()) << pattern;
        rule.oldConditions.push_back(condition);
    }
    rule.pattern = rulePattern;
    rule.substitution = format;
    EXPECT_TRUE(rule.Convert());
    rule.RenumberBackReferences();
    return rule.substitution;
}

struct RenumberCase {
    std::vector<std::string> conditionPatterns;
    std::string rulePattern;
    std::string format;
    std::string expected;
};

class RenumberTest : public ::testing::TestWithParam<RenumberCase> {};

TEST_P(RenumberTest, SplitsJointNumbering)
{
    const RenumberCase& c = GetParam();
    EXPECT_EQ(Renumber(c.conditionPatterns, c.rulePattern, c.format), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, RenumberTest, ::testing::Values(
    RenumberCase{{"(a)"}, "/(b)/(c)", "/x/$1/$2/$3", "/x/%1/$1/$2"},
    RenumberCase{{}, "/(b)/(c)", "/x/$1/$2", "/x/$1/$2"},
    RenumberCase{{"(a)", "(b)(c)"}, "/(d)", "$1$2$3$4", "%1%2%3$1"},
    RenumberCase{{"-f"}, "/(d)", "$1", "$1"},
    // A reference to a group that does not exist, $0 and text behind "$" stay as they are.
    RenumberCase{{"(a)"}, "/(b)", "$0$3$x$$2${1}", "$0$3$x$$1${1}"},
    // Group numbers of two digits are whole references.
    RenumberCase{{"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)"}, "/(x)(y)", "$1-$11-$12-$13-$14",
                 "%1-%11-$1-$2-$14"},
    RenumberCase{{"(a)"}, "/(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)(m)", "$1.$2.$12.$13", "%1.$1.$11.$12"}));

TEST(RuleConvertTest, MapsOldFlagsInTableOrder)
{
    struct Case {
        const char* flags;
        const char* written;
    };
    const Case cases[] = {
        {"I,L", " [NC,L]"},
        {"I, L, X", " [NC,L]"},
        {"cu,cl,o,u,rp,p,ns,n,l,f,i", " [NC,F,L,N,LP,P,R=301,U,O,CL,CU]"},
        {"R,RP", " [R=301]"},
        {"RP,R", " [R=302]"},
        {"", ""},
        {"X", ""},
        // The new spellings are not old flags.
        {"NC,R=301", ""},
    };
    for (const Case& c : cases) {
        OldRewriteRule rule;
        rule.pattern = "/a";
        rule.flagsText = c.flags;
        ASSERT_TRUE(rule.Convert()) << c.flags;
        std::string written;
        rule.WriteFlags(written);
        EXPECT_EQ(written, c.written) << c.flags;
    }
}

TEST(RuleConvertTest, CompilesAnchoredPatternWithCase)
{
    OldRewriteRule rule;
    rule.pattern = "/A";
    rule.flagsText = "I";
    ASSERT_TRUE(rule.Convert());
    EXPECT_EQ(rule.pattern, "^/A$");
    EXPECT_TRUE(boost::regex_match(std::string("/a"), rule.regex));
    EXPECT_FALSE(boost::regex_match(std::string("/ab"), rule.regex));

    OldRewriteRule exact;
    exact.pattern = "/A";
    ASSERT_TRUE(exact.Convert());
    EXPECT_FALSE(boost::regex_match(std::string("/a"), exact.regex));
}

TEST(RuleConvertTest, BadPatternFails)
{
    for (const char* pattern : {"(", "/a[", "*x", "(?<"}) {
        OldRewriteRule rule;
        rule.pattern = pattern;
        EXPECT_FALSE(rule.Convert()) << pattern;
    }
}

TEST(ProxyConvertTest, MapsProxyFlags)
{
    OldRewriteProxy proxy;
    proxy.pattern = "/a";
    proxy.flagsText = "a,h,f,c,d,o,u,i,l,r,x";
    ASSERT_TRUE(proxy.Convert());
    EXPECT_EQ(proxy.proxyFlags, 1 | 2 | 4 | 16 | 32);
    std::string written;
    proxy.WriteFlags(written);
    EXPECT_EQ(written, " [NC,U,O,D,CR,FR,H,AU]");

    OldRewriteProxy some;
    some.pattern = "/a";
    some.flagsText = "C";
    ASSERT_TRUE(some.Convert());
    written.clear();
    some.WriteFlags(written);
    EXPECT_EQ(written, " [CR]");
}

TEST(UriMatchTest, InsertsIntoPlainRulesOnly)
{
    struct Case {
        std::string pattern;
        std::string format;
        std::string pattern2;
        std::string format2;
    };
    const Case cases[] = {
        {"^/a$", "x", "^/base/a$", "/sx"},
        {".*", "/x", "/base.*", "/x"},
        {"^/a$", "HTTP://host/", "^/base/a$", "HTTP://host/"},
        {"^/a$", "http://host/", "^/base/a$", "http://host/"},
    };
    for (const Case& c : cases) {
        OldRewriteRule rule;
        rule.pattern = c.pattern;
        rule.substitution = c.format;
        rule.ApplyUriMatch("/base", "/s");
        EXPECT_EQ(rule.pattern, c.pattern2);
        EXPECT_EQ(rule.substitution, c.format2);
    }

    OldRewriteHeader header;
    header.headerName = "X";
    header.pattern = "^a$";
    header.substitution = "x";
    header.ApplyUriMatch("/base", "/s");
    EXPECT_EQ(header.pattern, "^a$");
    EXPECT_EQ(header.substitution, "x");

    OldRewriteProxy proxy;
    proxy.pattern = "^a$";
    proxy.substitution = "x";
    proxy.ApplyUriMatch("/base", "/s");
    EXPECT_EQ(proxy.pattern, "^a$");
    EXPECT_EQ(proxy.substitution, "x");
}

// A converted condition, written as a line of the new language.
std::string ConvertCondition(const std::string& testString, const std::string& pattern,
                             const std::string& flags, bool& converted)
{
    OldRewriteCond condition;
    condition.testString = testString;
    condition.pattern = pattern;
    condition.flagsText = flags;
    converted = condition.Convert();
    std::string line;
    if (converted)
        condition.Write(line);
    return line;
}

struct CondCase {
    const char* testString;
    const char* pattern;
    const char* flags;
    const char* written;  // null when the condition cannot be taken over
};

class CondWriteTest : public ::testing::TestWithParam<CondCase> {};

// The written condition must test what the old one tested: negation, comparison and file tests,
// case and OR chaining all survive.
TEST_P(CondWriteTest, KeepsMeaning)
{
    const CondCase& c = GetParam();
    bool converted = false;
    const std::string line = ConvertCondition(c.testString, c.pattern, c.flags, converted);
    if (!c.written) {
        EXPECT_FALSE(converted);
        return;
    }
    ASSERT_TRUE(converted);
    EXPECT_EQ(line, std::string(c.written) + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, CondWriteTest, ::testing::Values(
    CondCase{"URL", "/x", "", "RewriteCond %{REQUEST_URI} ^/x$"},
    CondCase{"URL", "!^/x", "", "RewriteCond %{REQUEST_URI} !^/x$"},
    CondCase{"Host:", "www", "[NC,OR]", "RewriteCond %{HTTP:Host} ^www$ [NC,OR]"},
    CondCase{"Host:", "www", "[nocase]", "RewriteCond %{HTTP:Host} ^www$ [NC]"},
    CondCase{"Host:", "www", "[O]", "RewriteCond %{HTTP:Host} ^www$ [O]"},
    CondCase{"Host:", "www", "[O,OR,NC]", "RewriteCond %{HTTP:Host} ^www$ [NC,OR,O]"},
    CondCase{"%REQUEST_FILENAME", "-f", "", "RewriteCond %{REQUEST_FILENAME} -f"},
    CondCase{"%REQUEST_FILENAME", "!-d", "", "RewriteCond %{REQUEST_FILENAME} !-d"},
    CondCase{"%REQUEST_FILENAME", "-s", "[OR]", "RewriteCond %{REQUEST_FILENAME} -s [OR]"},
    CondCase{"Method", "=POST", "[NC]", "RewriteCond %{REQUEST_METHOD} =POST [NC]"},
    CondCase{"%A", "!<abc", "", "RewriteCond %{A} !<abc"},
    CondCase{"%A", ">abc", "", "RewriteCond %{A} >abc"},
    CondCase{"%A", "=<abc", "", "RewriteCond %{A} =<abc"},
    CondCase{"%A", "-x", "", "RewriteCond %{A} ^-x$"},
    CondCase{"%A", "!", "", "RewriteCond %{A} !"},
    CondCase{"%A", ".*", "", "RewriteCond %{A} .*"},
    CondCase{"URL", "/x", "[I]", nullptr},
    CondCase{"URL", "(", "", nullptr},
    CondCase{"URL", "!(", "", nullptr}));

TEST(CondConvertTest, CompilesAnchoredPatternWithCase)
{
    OldRewriteCond condition;
    condition.testString = "URL";
    condition.pattern = "/A(b)";
    condition.flagsText = "[NC]";
    ASSERT_TRUE(condition.Convert());
    EXPECT_EQ(condition.regex.mark_count(), 1u);
    EXPECT_TRUE(boost::regex_match(std::string("/aB"), condition.regex));
    EXPECT_FALSE(boost::regex_match(std::string("x/aB"), condition.regex));
}

}

namespace {

// Plain text replacement in increasing group order, which is right as long as no reference is
// followed by a digit.
std::string ReplaceInOrder(std::string format, std::size_t conditionGroups, std::size_t ruleGroups)
{
    auto replaceAll = [&format](const std::string& from, const std::string& to) {
        for (std::size_t at = format.find(from); at != std::string::npos; at = format.find(from, at + to.size()))
            format.replace(at, from.size(), to);
    };
    for (std::size_t i = 1; i <= conditionGroups; ++i)
        replaceAll("$" + std::to_string(i), "%" + std::to_string(i));
    for (std::size_t i = 1; i <= ruleGroups; ++i)
        replaceAll("$" + std::to_string(conditionGroups + i), "$" + std::to_string(i));
    return format;
}

bool HasReferenceBeforeDigit(const std::string& format)
{
    for (std::size_t i = 0; i + 2 < format.size(); ++i) {
        if (format[i] == '$' && std::isdigit(static_cast<unsigned char>(format[i + 1]))
            && std::isdigit(static_cast<unsigned char>(format[i + 2])))
            return true;
    }
    return false;
}

// With fewer than ten groups, whole-reference renumbering gives what replacement in order gives.
TEST(RenumberInOrderTest, MatchesReplacementInOrderBelowTenGroups)
{
    std::mt19937 random(1210);
    const char alphabet[] = {'$', '$', '1', '2', '3', '4', '5', '9', '0', 'a', '/', '%', '{'};
    int compared = 0;
    for (int n = 0; n < 3000; ++n) {
        const std::size_t conditionGroups = random() % 5;
        const std::size_t ruleGroups = random() % 5;
        std::string format;
        for (std::size_t i = random() % 12; i > 0; --i)
            format += alphabet[random() % sizeof alphabet];
        if (HasReferenceBeforeDigit(format))
            continue;
        const std::vector<std::string> conditions(conditionGroups, "(a)");
        std::string rulePattern = "/";
        for (std::size_t i = 0; i < ruleGroups; ++i)
            rulePattern += "(b)";
        ASSERT_EQ(Renumber(conditions, rulePattern, format), ReplaceInOrder(format, conditionGroups, ruleGroups))
            << format << " with " << conditionGroups << " and " << ruleGroups;
        ++compared;
    }
    EXPECT_GT(compared, 1000);
}

}
