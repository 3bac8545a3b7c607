#include <gtest/gtest.h>

#include <string>

#include "ProbeTexts.h"
#include "RuleLine.h"

using namespace Orvane::Quillon;
using namespace Orvane::Quillprobe;

namespace {

struct SplitCase {
    const char* line;
    bool ok;
    const char* pattern;
    const char* substitution;
    const char* flagsText;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, SplitsLineIntoRuleFields)
{
    const SplitCase& c = GetParam();
    CfgRewriteRule rule;
    SplitOutcome outcome = SplitRuleLine(rule, c.line);
    ASSERT_EQ(c.ok, outcome.ok) << outcome.error;
    if (!c.ok) {
        EXPECT_EQ(Texts::kBadRuleFormat, outcome.error);
        return;
    }
    EXPECT_EQ(c.pattern, outcome.parts.pattern);
    EXPECT_EQ(c.substitution, outcome.parts.substitution);
    EXPECT_EQ(c.flagsText, outcome.parts.flagsText);
}

INSTANTIATE_TEST_SUITE_P(Lines, SplitTest, ::testing::Values(
    SplitCase{"RewriteRule ^/a$ /b [L,NC]", true, "^/a$", "/b", "L,NC"},
    SplitCase{"  rewriterule   (.*)  /x/$1   # note", true, "(.*)", "/x/$1", ""},
    SplitCase{"RewriteRule ^/a$ /b [nc,l] # comment", true, "^/a$", "/b", "nc,l"},
    SplitCase{"RewriteRule ", false, "", "", ""},
    SplitCase{"RewriteRule", false, "", "", ""},
    SplitCase{"RewriteRule ^/a$  ", false, "", "", ""},
    SplitCase{"RewriteCond %{HTTP_HOST} x", false, "", "", ""},
    SplitCase{"RewriteRule ^/a$ /b [L] trailing", false, "", "", ""},
    SplitCase{"", false, "", "", ""}));

TEST(SplitRuleLine, PositionsOfPatternAndSubstitutionForHighlight)
{
    CfgRewriteRule rule;
    const std::string line = "  RewriteRule  ^/a$ /bb [L]";
    SplitOutcome outcome = SplitRuleLine(rule, line);
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(line.find("^/a$"), outcome.parts.patternStart);
    EXPECT_EQ(4u, outcome.parts.patternLength);
    ASSERT_TRUE(outcome.parts.hasSubstitution);
    EXPECT_EQ(line.find("/bb"), outcome.parts.substitutionStart);
    EXPECT_EQ(3u, outcome.parts.substitutionLength);
}

TEST(SplitRuleLine, SetsFlagsFromLineAndDropsEarlierOnes)
{
    CfgRewriteRule rule;
    ASSERT_TRUE(SplitRuleLine(rule, "RewriteRule ^/a$ /b [L,NC,N,LP,CO=Id:42::30,T=text/HTML]").ok);
    EXPECT_TRUE(rule.nocase);
    EXPECT_TRUE(rule.next);
    EXPECT_TRUE(rule.loop);
    EXPECT_EQ("id", rule.cookieName);
    EXPECT_EQ("text/html", rule.mimeType);

    ASSERT_TRUE(SplitRuleLine(rule, "RewriteRule ^/a$ /b [L]").ok);
    EXPECT_TRUE(rule.last);
    EXPECT_FALSE(rule.nocase);
    EXPECT_FALSE(rule.next);
    EXPECT_FALSE(rule.loop);
    EXPECT_TRUE(rule.cookieName.empty());
    EXPECT_TRUE(rule.mimeType.empty());
}

TEST(SplitRuleLine, UnknownFlagStillSplitsAndBadPatternReportsCompileText)
{
    CfgRewriteRule rule;
    SplitOutcome unknown = SplitRuleLine(rule, "RewriteRule ^/a$ /b [XYZ,L]");
    EXPECT_TRUE(unknown.ok);
    EXPECT_TRUE(rule.last);

    SplitOutcome bad = SplitRuleLine(rule, "RewriteRule ( /b [NC]");
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(0u, bad.error.rfind("Bad regexp:\t", 0)) << bad.error;
    EXPECT_EQ("\r\n", bad.error.substr(bad.error.size() - 2));
}

TEST(SplitRuleLine, NegatedPatternKeepsMarkInPartsAndSetsNegate)
{
    CfgRewriteRule rule;
    SplitOutcome outcome = SplitRuleLine(rule, "RewriteRule !^/old /new [NC]");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ("!^/old", outcome.parts.pattern);
    EXPECT_TRUE(rule.negate);
    EXPECT_EQ("^/old", rule.pattern);
}

struct ComposeCase {
    const char* line;
    const char* composed;
};

class ComposeTest : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeTest, ComposesLineFromSplitRule)
{
    CfgRewriteRule rule;
    ASSERT_TRUE(SplitRuleLine(rule, GetParam().line).ok);
    EXPECT_EQ(GetParam().composed, ComposeRuleLine(rule));
}

INSTANTIATE_TEST_SUITE_P(Lines, ComposeTest, ::testing::Values(
    ComposeCase{"RewriteRule ^/a$ /b", "RewriteRule ^/a$ /b "},
    ComposeCase{"RewriteRule ^/a$ /b [nc,l] # comment", "RewriteRule ^/a$ /b  [L,NC]"},
    ComposeCase{"RewriteRule x y [lp,cu,cl,o,u,t=a/b,qsa,ne,c,n,p,g,f,r=301,s=2]",
                "RewriteRule x y  [R=301,F,G,P,N,C,QSA,NE,S=2,T=a/b,LP,U,O,CL,CU]"},
    ComposeCase{"RewriteRule x y [CO=Name:Val:dom:120:/p]", "RewriteRule x y  [CO=name:val:dom:120:/p]"},
    ComposeCase{"RewriteRule x y [CO=n:v::120,L]", "RewriteRule x y  [L,CO=n:v:120]"},
    ComposeCase{"RewriteRule x y [XYZ,L]", "RewriteRule x y  [L]"},
    ComposeCase{"RewriteRule !^/old /new", "RewriteRule !^/old /new "},
    ComposeCase{"RewriteRule !^/old /new [NC]", "RewriteRule !^/old /new  [NC]"}));

TEST(ComposeRuleLine, FlagBoxOnNegatedRuleKeepsNegation)
{
    CfgRewriteRule rule;
    ASSERT_TRUE(SplitRuleLine(rule, "RewriteRule !^/old /new").ok);
    rule.nocase = 1;  // what a click on the NC box stores
    std::string line = ComposeRuleLine(rule);
    EXPECT_EQ("RewriteRule !^/old /new  [NC]", line);

    CfgRewriteRule again;
    ASSERT_TRUE(SplitRuleLine(again, line).ok);
    EXPECT_TRUE(again.negate);
    EXPECT_EQ("^/old", again.pattern);
}

TEST(SetRulePattern, LeadingMarkIsNegation)
{
    CfgRewriteRule rule;
    SetRulePattern(rule, "!^/x");
    EXPECT_TRUE(rule.negate);
    EXPECT_EQ("^/x", rule.pattern);
    EXPECT_EQ("RewriteRule !^/x  ", ComposeRuleLine(rule));

    SetRulePattern(rule, "^/!x");
    EXPECT_FALSE(rule.negate);
    EXPECT_EQ("^/!x", rule.pattern);
}

TEST(ComposeRuleLine, EmptySubstitutionComposesLineThatSplitRejects)
{
    CfgRewriteRule rule;
    ASSERT_TRUE(SplitRuleLine(rule, "RewriteRule ^/a$ /b").ok);
    rule.substitution.clear();
    std::string line = ComposeRuleLine(rule);
    EXPECT_EQ("RewriteRule ^/a$  ", line);
    EXPECT_FALSE(SplitRuleLine(rule, line).ok);
}

TEST(ResetRuleFlags, ClearsEveryFlagButKeepsTexts)
{
    CfgRewriteRule rule;
    ASSERT_TRUE(SplitRuleLine(rule,
        "RewriteRule !x ${a}%{HTTP:h} [R,F,G,P,L,N,C,NC,QSA,NE,S=1,CO=a:b:c:1:d,T=x,LP,U,O,CL,CU]").ok);
    rule.ResetFlags();
    CfgRewriteRule fresh;
    fresh.pattern = rule.pattern;
    fresh.substitution = rule.substitution;
    fresh.flagsText = rule.flagsText;
    EXPECT_EQ(ComposeRuleLine(fresh), ComposeRuleLine(rule));
    EXPECT_EQ("RewriteRule x ${a}%{HTTP:h} ", ComposeRuleLine(rule));
    EXPECT_FALSE(rule.hasDollarBraceReference || rule.hasHttpHeaderReference || rule.hasPercentBraceReference);
    EXPECT_FALSE(rule.flagsText.empty());
}

TEST(MatchRuleLine, TestFormAcceptsMissingSubstitutionAfterBlank)
{
    RuleLineParts parts;
    EXPECT_TRUE(MatchRuleLine("RewriteRule ^/a$  ", LineForm::Test, parts));
    EXPECT_FALSE(parts.hasSubstitution);
    EXPECT_FALSE(MatchRuleLine("RewriteRule ^/a$  ", LineForm::Split, parts));
    EXPECT_FALSE(MatchRuleLine("RewriteRule ^/a$", LineForm::Test, parts));
}

TEST(MatchRuleLine, HugeLinesAnswerWithoutCrash)
{
    RuleLineParts parts;
    std::string words = "RewriteRule";
    while (words.size() < (1u << 20))
        words += " a";
    EXPECT_FALSE(MatchRuleLine(words, LineForm::Split, parts));
    std::string one = "RewriteRule " + std::string(1u << 20, 'a') + " /b";
    ASSERT_TRUE(MatchRuleLine(one, LineForm::Split, parts));
    EXPECT_EQ(1u << 20, parts.patternLength);
}

}

#include "RuleArgument.h"

namespace {

TEST(UnquoteRuleArgument, RemovesAtMostOneQuoteAtEachEnd)
{
    using Orvane::Quillprobe::UnquoteRuleArgument;
    EXPECT_EQ(L"RewriteRule a b", UnquoteRuleArgument(L"\"RewriteRule a b\""));
    EXPECT_EQ(L"\"x\"", UnquoteRuleArgument(L"\"\"x\"\""));
    EXPECT_EQ(L"a\"b", UnquoteRuleArgument(L"a\"b"));
    EXPECT_EQ(L"", UnquoteRuleArgument(L"\""));
    EXPECT_EQ(L"", UnquoteRuleArgument(L""));
    EXPECT_EQ(L"x", UnquoteRuleArgument(L"x\""));
}

}

#include "MessageText.h"

namespace {

TEST(JoinMessageLines, CompileTextBecomesOneLine)
{
    using Orvane::Quillprobe::JoinMessageLines;
    EXPECT_EQ("Unknown flag xyz Bad regexp:\tmissing )", JoinMessageLines("Unknown flag xyz\r\nBad regexp:\tmissing )\r\n"));
    EXPECT_EQ("Bad RewriteRule format", JoinMessageLines("Bad RewriteRule format"));
    EXPECT_EQ("a b c", JoinMessageLines("a\nb\rc\r\n"));
    EXPECT_EQ("", JoinMessageLines("\r\n"));
}

}
