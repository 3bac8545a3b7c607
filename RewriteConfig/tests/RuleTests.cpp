// Rule compile: flags, reference scans, negation, pattern errors.
#include "RewriteConfig/CfgRewriteRule.h"

#include <climits>
#include <functional>

#include <gtest/gtest.h>

using namespace Orvane::Quillon;

namespace {

struct Compiled {
    bool ok;
    std::string errors;
};

Compiled CompileRule(CfgRewriteRule& rule, const char* pattern, const char* flags, const char* substitution = "/x")
{
    rule.pattern = pattern;
    rule.flagsText = flags;
    rule.substitution = substitution;
    Compiled result;
    result.ok = rule.Compile(result.errors);
    return result;
}

}

TEST(CfgRewriteRule, Flags)
{
    const struct {
        const char* flags;
        const char* errors;
        std::function<bool(const CfgRewriteRule&)> check;
    } cases[] = {
        {"L,NC", "", [](const CfgRewriteRule& r) { return r.last == 1 && r.nocase == 1; }},
        {"L,,R", "Unknown flag \r\n", [](const CfgRewriteRule& r) { return r.last == 1 && r.redirectCode == 302; }},
        {",L", "", [](const CfgRewriteRule& r) { return r.last == 1; }},
        {"L,", "", [](const CfgRewriteRule& r) { return r.last == 1; }},
        {",,L , , ", "Unknown flag \r\n", [](const CfgRewriteRule& r) { return r.last == 1; }},
        {"R=301", "", [](const CfgRewriteRule& r) { return r.redirectCode == 301; }},
        {"redirect = 404", "", [](const CfgRewriteRule& r) { return r.redirectCode == 404; }},
        {"R=500", "Unknown flag r=500\r\n", [](const CfgRewriteRule& r) { return r.redirectCode == 0; }},
        {"R=30", "Unknown flag r=30\r\n", [](const CfgRewriteRule& r) { return r.redirectCode == 0; }},
        {"N", "", [](const CfgRewriteRule& r) { return r.next == 1; }},
        {"F,G,P,C,QSA,NE", "", [](const CfgRewriteRule& r) {
             return r.forbidden && r.gone && r.proxy && r.chain && r.qsappend && r.noescape;
         }},
        {"forbidden,gone,proxy,last,next,chain,nocase,qsappend,noescape,loop", "", [](const CfgRewriteRule& r) {
             return r.forbidden && r.gone && r.proxy && r.last && r.next && r.chain && r.nocase && r.qsappend &&
                    r.noescape && r.loop;
         }},
        {"S=3", "", [](const CfgRewriteRule& r) { return r.skipCount == 3; }},
        {"skip = 12", "", [](const CfgRewriteRule& r) { return r.skipCount == 12; }},
        {"skip=x", "Unknown flag skip=x\r\n", [](const CfgRewriteRule& r) { return r.skipCount == 0; }},
        {"S=99999999999999", "", [](const CfgRewriteRule& r) { return r.skipCount == INT32_MAX; }},
        {"CO=Id:42::30", "", [](const CfgRewriteRule& r) {
             return r.cookieName == "id" && r.cookieValue == "42" && r.cookieDomain.empty() &&
                    r.cookieLifetime == 1800 && r.cookiePath.empty();
         }},
        {"CO=a:b:30", "", [](const CfgRewriteRule& r) { return r.cookieDomain == "30" && r.cookieLifetime == 0; }},
        {"cookie=n:v:.Example.com:10:/Path", "", [](const CfgRewriteRule& r) {
             return r.cookieName == "n" && r.cookieValue == "v" && r.cookieDomain == ".example.com" &&
                    r.cookieLifetime == 600 && r.cookiePath == "/path";
         }},
        {"CO=n:v:d:35791395:/", "", [](const CfgRewriteRule& r) { return r.cookieLifetime == INT32_MAX; }},
        {"CO=n:v:d:35791394:/", "", [](const CfgRewriteRule& r) { return r.cookieLifetime == 35791394 * 60; }},
        {"CO=n:v:d:99999999999999999:/", "", [](const CfgRewriteRule& r) { return r.cookieLifetime == INT32_MAX; }},
        {"T=text/HTML", "", [](const CfgRewriteRule& r) { return r.mimeType == "text/html"; }},
        {"type=image/gif ", "", [](const CfgRewriteRule& r) { return r.mimeType == "image/gif"; }},
        {"LP,U,O,CL,CU", "", [](const CfgRewriteRule& r) { return r.loop && r.U && r.O && r.CL && r.CU; }},
        {"XYZ", "Unknown flag xyz\r\n", [](const CfgRewriteRule&) { return true; }},
        {"l , nc", "", [](const CfgRewriteRule& r) { return r.last && r.nocase; }},
        {"last,bogus,next", "Unknown flag bogus\r\n", [](const CfgRewriteRule& r) { return r.last && r.next; }},
        {"", "", [](const CfgRewriteRule& r) { return r.last == 0 && r.redirectCode == 0; }},
    };
    for (const auto& c : cases) {
        CfgRewriteRule rule;
        const Compiled result = CompileRule(rule, "^/a$", c.flags);
        EXPECT_TRUE(result.ok) << c.flags;
        EXPECT_EQ(result.errors, c.errors) << c.flags;
        EXPECT_TRUE(c.check(rule)) << c.flags;
    }
}

// ParseFlag as called directly, without the lower-casing and trimming of Compile: the words are
// compared exactly, the flags with a value are read by their expressions, white space and case aside.
TEST(CfgRewriteRule, ParseFlagTakesPiecesAsGiven)
{
    const struct {
        const char* piece;
        bool known;
        std::function<bool(const CfgRewriteRule&)> check;
    } cases[] = {
        {"R", true, [](const CfgRewriteRule& r) { return r.redirectCode == 302; }},
        {" r = 303 ", true, [](const CfgRewriteRule& r) { return r.redirectCode == 303; }},
        {"\tRedirect", true, [](const CfgRewriteRule& r) { return r.redirectCode == 302; }},
        {"Skip=4", true, [](const CfgRewriteRule& r) { return r.skipCount == 4; }},
        {" CO=a:b", true, [](const CfgRewriteRule& r) { return r.cookieName == "a" && r.cookieValue == "b"; }},
        {"Type=x/y", true, [](const CfgRewriteRule& r) { return r.mimeType == "x/y"; }},
        {"L", false, [](const CfgRewriteRule& r) { return r.last == 0; }},
        {" l", false, [](const CfgRewriteRule& r) { return r.last == 0; }},
        {"lp", true, [](const CfgRewriteRule& r) { return r.loop == 1 && r.last == 0; }},
        {"la", false, [](const CfgRewriteRule& r) { return r.last == 0; }},
        {"nocase", true, [](const CfgRewriteRule& r) { return r.nocase == 1 && r.next == 0; }},
        {"ne", true, [](const CfgRewriteRule& r) { return r.noescape == 1 && r.next == 0; }},
        {"cu", true, [](const CfgRewriteRule& r) { return r.CU == 1 && r.chain == 0; }},
        {"co", false, [](const CfgRewriteRule& r) { return r.cookieName.empty() && r.chain == 0; }},
        {"", false, [](const CfgRewriteRule&) { return true; }},
        {"\xe9", false, [](const CfgRewriteRule&) { return true; }},
    };
    for (const auto& c : cases) {
        CfgRewriteRule rule;
        EXPECT_EQ(rule.ParseFlag(c.piece), c.known) << c.piece;
        EXPECT_TRUE(c.check(rule)) << c.piece;
    }
}

TEST(CfgRewriteRule, NocaseSelectsCaseInsensitiveCompile)
{
    CfgRewriteRule insensitive;
    CompileRule(insensitive, "^/A", "L,NC");
    EXPECT_TRUE(boost::regex_search("/a", insensitive.regex));
    EXPECT_TRUE(boost::regex_search("/A", insensitive.regex));
    CfgRewriteRule sensitive;
    CompileRule(sensitive, "^/A", "L");
    EXPECT_FALSE(boost::regex_search("/a", sensitive.regex));
}

TEST(CfgRewriteRule, NegationMark)
{
    CfgRewriteRule negated;
    EXPECT_TRUE(CompileRule(negated, "!^/old", "").ok);
    EXPECT_EQ(negated.negate, 1);
    EXPECT_EQ(negated.pattern, "^/old");
    EXPECT_EQ(negated.regex.str(), "^/old");
    CfgRewriteRule plain;
    CompileRule(plain, "^/!x", "");
    EXPECT_EQ(plain.negate, 0);
    EXPECT_EQ(plain.pattern, "^/!x");
}

TEST(CfgRewriteRule, BadPatternReportsAndKeepsTheFlags)
{
    CfgRewriteRule rule;
    const Compiled result = CompileRule(rule, "(", "L,R=301,bad");
    EXPECT_FALSE(result.ok);
    const std::string start = "Unknown flag bad\r\nBad regexp:\t";
    EXPECT_EQ(result.errors.compare(0, start.size(), start), 0) << result.errors;
    EXPECT_GT(result.errors.size(), start.size() + 2);
    EXPECT_EQ(result.errors.substr(result.errors.size() - 2), "\r\n");
    EXPECT_EQ(rule.last, 1);
    EXPECT_EQ(rule.redirectCode, 301);
    EXPECT_TRUE(rule.regex.empty());
}

TEST(CfgRewriteRule, FailedCompileKeepsThePreviousExpression)
{
    CfgRewriteRule rule;
    ASSERT_TRUE(CompileRule(rule, "^ok$", "").ok);
    EXPECT_FALSE(CompileRule(rule, "[", "").ok);
    EXPECT_EQ(rule.regex.str(), "^ok$");
}

TEST(CfgRewriteRule, ReferenceScansOfTheSubstitution)
{
    const struct {
        const char* substitution;
        unsigned char dollar, http, percent;
    } cases[] = {
        {"%{HTTP:Host}/x", 0, 1, 1},
        {"${map:key}", 1, 0, 0},
        {"/%{REQUEST_URI}", 0, 0, 1},
        {"%{ http:Accept }", 0, 1, 1},
        {"%{}", 0, 0, 0},
        {"/plain$1", 0, 0, 0},
    };
    for (const auto& c : cases) {
        CfgRewriteRule rule;
        rule.hasDollarBraceReference = rule.hasHttpHeaderReference = rule.hasPercentBraceReference = 1;
        CompileRule(rule, "a", "", c.substitution);
        EXPECT_EQ(rule.hasDollarBraceReference, c.dollar) << c.substitution;
        EXPECT_EQ(rule.hasHttpHeaderReference, c.http) << c.substitution;
        EXPECT_EQ(rule.hasPercentBraceReference, c.percent) << c.substitution;
    }
}

TEST(CfgRewriteProxy, OwnFlagsAndNoRedirect)
{
    const struct {
        const char* flags;
        const char* errors;
        std::uint32_t proxyFlags;
    } cases[] = {
        {"D,CR,H", "", 19},
        {"fr,au", "", 36},
        {"R", "Unknown flag r\r\n", 0},
        {"R=301,P,proxy", "Unknown flag r=301\r\nUnknown flag p\r\nUnknown flag proxy\r\n", 0},
        {"L", "", 0},
    };
    for (const auto& c : cases) {
        CfgRewriteProxy proxy;
        const Compiled result = CompileRule(proxy, "^/a", c.flags, "http://b/");
        EXPECT_TRUE(result.ok) << c.flags;
        EXPECT_EQ(result.errors, c.errors) << c.flags;
        EXPECT_EQ(proxy.proxyFlags, c.proxyFlags) << c.flags;
        EXPECT_EQ(proxy.redirectCode, 0) << c.flags;
        EXPECT_EQ(proxy.proxy, 0) << c.flags;
    }
    CfgRewriteProxy proxy;
    CompileRule(proxy, "^/a", "L");
    EXPECT_EQ(proxy.last, 1);
}

TEST(CfgRewriteRule, FlagsFromAnEarlierCompileStay)
{
    CfgRewriteRule rule;
    CompileRule(rule, "a", "L");
    CompileRule(rule, "b", "NC");
    EXPECT_EQ(rule.last, 1);
    EXPECT_EQ(rule.nocase, 1);
}

TEST(CfgRewriteRule, AddConditionSharesTheTestFunction)
{
    CfgRewriteCond condition;
    condition.testString = "%{A}";
    condition.pattern = "^x";
    ASSERT_TRUE(condition.Parse());
    CfgRewriteRule rule;
    rule.AddCondition(condition);
    rule.AddCondition(condition);
    ASSERT_EQ(rule.conditions.size(), 2u);
    EXPECT_EQ(rule.conditions[1].condFunction, condition.condFunction);
    EXPECT_EQ(condition.condFunction.use_count(), 3);
}

// A condition handed over is appended itself, with its texts, flags and test function, and no copy.
TEST(CfgRewriteRule, AddConditionTakesOverAConditionHandedOver)
{
    CfgRewriteCond condition;
    condition.testString = "%{A}";
    condition.pattern = "^x";
    condition.flagsText = "[NC]";
    ASSERT_TRUE(condition.Parse());
    const ICondFunction* const test = condition.condFunction.get();
    CfgRewriteRule rule;
    rule.AddCondition(std::move(condition));
    ASSERT_EQ(rule.conditions.size(), 1u);
    const CfgRewriteCond& added = rule.conditions[0];
    EXPECT_EQ(added.testString, "%{A}");
    EXPECT_EQ(added.pattern, "^x");
    EXPECT_EQ(added.nocase, 1);
    EXPECT_EQ(added.condFunction.get(), test);
    EXPECT_EQ(added.condFunction.use_count(), 1);
}

// The rule class is the base of entries of other programs: its operations dispatch virtually.
TEST(CfgRewriteRule, DerivedEntriesOverrideParseFlag)
{
    struct Entry : CfgRewriteRule {
        bool ParseFlag(const std::string& flag) override { return flag == "own" || CfgRewriteRule::ParseFlag(flag); }
    };
    Entry entry;
    const Compiled result = CompileRule(entry, "a", "own,L,x");
    EXPECT_EQ(result.errors, "Unknown flag x\r\n");
    EXPECT_EQ(entry.last, 1);
}

// A reset rule compiles the next flag list as a new rule would; its texts, conditions and compiled
// expression stay.
TEST(CfgRewriteRule, ResetFlagsKeepsTextsConditionsAndExpression)
{
    CfgRewriteRule rule;
    rule.AddCondition(CfgRewriteCond());
    ASSERT_TRUE(CompileRule(rule, "!^/a", "R=301,F,G,P,L,N,C,NC,QSA,NE,S=2,CO=a:b:c:5:/p,T=x/y,LP,U,O,CL,CU",
                            "${m}%{HTTP:h}").ok);
    rule.ResetFlags();
    const CfgRewriteRule fresh;
    const struct {
        const char* field;
        std::function<bool(const CfgRewriteRule&)> same;
    } fields[] = {
        {"negate", [&](const CfgRewriteRule& r) { return r.negate == fresh.negate; }},
        {"redirectCode", [&](const CfgRewriteRule& r) { return r.redirectCode == fresh.redirectCode; }},
        {"forbidden, gone, proxy", [&](const CfgRewriteRule& r) { return !r.forbidden && !r.gone && !r.proxy; }},
        {"last, next, chain", [&](const CfgRewriteRule& r) { return !r.last && !r.next && !r.chain; }},
        {"nocase, qsappend, noescape", [&](const CfgRewriteRule& r) { return !r.nocase && !r.qsappend && !r.noescape; }},
        {"skipCount", [&](const CfgRewriteRule& r) { return r.skipCount == 0; }},
        {"cookie", [&](const CfgRewriteRule& r) {
             return r.cookieName.empty() && r.cookieValue.empty() && r.cookieDomain.empty() && r.cookieLifetime == 0 &&
                    r.cookiePath.empty();
         }},
        {"mimeType", [&](const CfgRewriteRule& r) { return r.mimeType.empty(); }},
        {"loop, U, O, CL, CU", [&](const CfgRewriteRule& r) { return !r.loop && !r.U && !r.O && !r.CL && !r.CU; }},
        {"references", [&](const CfgRewriteRule& r) {
             return !r.hasDollarBraceReference && !r.hasHttpHeaderReference && !r.hasPercentBraceReference;
         }},
        {"texts", [&](const CfgRewriteRule& r) {
             return r.pattern == "^/a" && r.substitution == "${m}%{HTTP:h}" && r.flagsText.find("qsa") != std::string::npos;
         }},
        {"conditions", [&](const CfgRewriteRule& r) { return r.conditions.size() == 1; }},
        {"expression", [&](const CfgRewriteRule& r) { return !r.regex.empty() && boost::regex_search("/a", r.regex); }},
    };
    for (const auto& f : fields)
        EXPECT_TRUE(f.same(rule)) << f.field;
    // The next compile sets only what its own flag list says.
    ASSERT_TRUE(CompileRule(rule, "^/b", "L").ok);
    EXPECT_EQ(rule.last, 1);
    EXPECT_EQ(rule.redirectCode, 0);
    EXPECT_EQ(rule.nocase, 0);
}
