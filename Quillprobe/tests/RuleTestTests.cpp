#include <gtest/gtest.h>

#include <string>

#include "ProbeTexts.h"
#include "RuleTest.h"

using namespace Orvane::Quillon;
using namespace Orvane::Quillprobe;

namespace {

class FixedStopwatch : public Stopwatch {
public:
    void Start() override { ++starts; }
    float ElapsedMilliseconds() override { return 1.5f; }
    int starts = 0;
};

TestOutcome RunLine(const std::string& line, const std::string& subject)
{
    CfgRewriteRule rule;
    FixedStopwatch watch;
    return RunRuleTest(rule, line, subject, watch);
}

int CountLines(const std::string& text)
{
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

TEST(RunRuleTest, MatchListsEveryGroupAndFormatsResult)
{
    TestOutcome o = RunLine("RewriteRule ^/(\\w+)(x)?/(\\d+)$ /show.asp?name=$1&id=$3", "/item/42");
    ASSERT_EQ(TestOutcome::Status::Matched, o.status) << o.message;
    EXPECT_EQ("$0:\t/item/42\r\n$1:\titem\r\n$2:\t\r\n$3:\t42\r\n", o.matchList);
    EXPECT_EQ("/show.asp?name=item&id=42", o.result);
    EXPECT_TRUE(o.timed);
    EXPECT_FLOAT_EQ(1.5f, o.elapsedMs);
    EXPECT_FALSE(o.iterated);
}

TEST(RunRuleTest, FormatUsesAllFormatFeatures)
{
    EXPECT_EQ("/ITEM/item/x", RunLine("RewriteRule ^/(\\w+)$ /\\U$1\\E/${1}/(?1x:y)", "/item").result);
    EXPECT_EQ("/y", RunLine("RewriteRule ^/(\\w+)?$ /(?1x:y)", "/").result);
}

struct ErrorCase {
    const char* line;
    const char* subject;
    TestOutcome::Status status;
    const char* messageStart;
    bool timed;
};

class ErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorTest, ReportsReasonAndWhetherTimeIsShown)
{
    const ErrorCase& c = GetParam();
    TestOutcome o = RunLine(c.line, c.subject);
    EXPECT_EQ(c.status, o.status);
    EXPECT_EQ(0u, o.message.rfind(c.messageStart, 0)) << o.message;
    EXPECT_EQ(c.timed, o.timed);
    EXPECT_TRUE(o.matchList.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, ErrorTest, ::testing::Values(
    ErrorCase{"RewriteRule ", "/a", TestOutcome::Status::BadFormat, "Bad RewriteRule format", false},
    ErrorCase{"RewriteRule ^/a$", "/a", TestOutcome::Status::BadFormat, "Bad RewriteRule format", false},
    ErrorCase{"RewriteCond x y", "/a", TestOutcome::Status::BadFormat, "Bad RewriteRule format", false},
    ErrorCase{"RewriteRule ( /b", "/a", TestOutcome::Status::CompileFailed, "Bad regexp:\t", false},
    ErrorCase{"RewriteRule ( /b [XYZ]", "/a", TestOutcome::Status::CompileFailed, "Unknown flag xyz\r\nBad regexp:\t", false},
    ErrorCase{"RewriteRule ^/b$ /c", "/a", TestOutcome::Status::NotMatched, "Pattern Not matched", true},
    ErrorCase{"RewriteRule ^/A$ /c", "/a", TestOutcome::Status::NotMatched, "Pattern Not matched", true}));

TEST(RunRuleTest, NocaseFlagChangesOutcome)
{
    EXPECT_EQ(TestOutcome::Status::Matched, RunLine("RewriteRule ^/A$ /c [NC]", "/a").status);
}

TEST(RunRuleTest, MissingSubstitutionAfterBlankGivesEmptyResult)
{
    TestOutcome o = RunLine("RewriteRule ^/a$  ", "/a");
    ASSERT_EQ(TestOutcome::Status::Matched, o.status);
    EXPECT_EQ("", o.result);
}

TEST(RunRuleTest, FlagsOfEarlierRunDoNotCarryOver)
{
    CfgRewriteRule rule;
    FixedStopwatch watch;
    EXPECT_EQ(TestOutcome::Status::Matched, RunRuleTest(rule, "RewriteRule ^/A$ /c [NC,N]", "/a", watch).status);
    TestOutcome o = RunRuleTest(rule, "RewriteRule ^/A$ /c", "/a", watch);
    EXPECT_EQ(TestOutcome::Status::NotMatched, o.status);
    EXPECT_FALSE(rule.next);
}

TEST(RunRuleTest, NegatedRuleMatchesWhenPatternIsAbsent)
{
    TestOutcome o = RunLine("RewriteRule !^/old(\\d)? /new$1", "/other");
    ASSERT_EQ(TestOutcome::Status::Matched, o.status);
    EXPECT_EQ("$0:\t\r\n", o.matchList);
    EXPECT_EQ("/new", o.result);
    EXPECT_EQ(TestOutcome::Status::NotMatched, RunLine("RewriteRule !^/old /new", "/old").status);
}

TEST(RunRuleTest, LoopThatAlwaysMatchesStopsAfterTwentyTwoResults)
{
    TestOutcome o = RunLine("RewriteRule ^/(.*)$ /$1 [N]", "/a");
    ASSERT_EQ(TestOutcome::Status::Matched, o.status);
    ASSERT_TRUE(o.iterated);
    EXPECT_EQ(23, CountLines(o.iterationLog));
    EXPECT_EQ(Texts::kInfiniteLoop,
              o.iterationLog.substr(o.iterationLog.size() - std::string(Texts::kInfiniteLoop).size()));
    EXPECT_EQ(0u, o.iterationLog.rfind("/a\r\n/a\r\n", 0));
    EXPECT_EQ("/a", o.result);
}

TEST(RunRuleTest, LoopEndsWhenResultNoLongerMatches)
{
    TestOutcome once = RunLine("RewriteRule ^/a$ /b [LP]", "/a");
    ASSERT_TRUE(once.iterated);
    EXPECT_EQ("/b\r\n", once.iterationLog);
    EXPECT_EQ("/b", once.result);

    TestOutcome steps = RunLine("RewriteRule ^/x(x*)$ /$1 [N]", "/xxx");
    EXPECT_EQ("/xx\r\n/x\r\n/\r\n", steps.iterationLog);
    EXPECT_EQ("/", steps.result);
}

TEST(RunRuleTest, GrowingLoopIsStoppedWithMessage)
{
    TestOutcome o = RunLine("RewriteRule ^.*$ $0$0 [N]", "/abcdefgh");
    ASSERT_EQ(TestOutcome::Status::Matched, o.status) << o.message;
    ASSERT_TRUE(o.iterated);
    const std::string tail = Texts::kIterationsTooLong;
    ASSERT_GE(o.iterationLog.size(), tail.size());
    EXPECT_EQ(tail, o.iterationLog.substr(o.iterationLog.size() - tail.size()));
    EXPECT_LE(o.iterationLog.size(), kMaxIterationLogLength + tail.size());
    EXPECT_LE(o.result.size(), kMaxResultLength);
    EXPECT_EQ(std::string::npos, o.iterationLog.find(Texts::kInfiniteLoop));
}

TEST(RunRuleTest, FirstResultBeyondBoundIsAnError)
{
    std::string format;
    for (std::size_t i = 0; i <= kMaxResultLength / 1000; ++i)
        format += "$0";
    TestOutcome o = RunLine("RewriteRule ^.*$ " + format, std::string(1000, 'a'));
    EXPECT_EQ(TestOutcome::Status::Failed, o.status);
    EXPECT_EQ("Result string too long: more than " + std::to_string(kMaxResultLength) + " characters", o.message);
    EXPECT_TRUE(o.result.empty());
    EXPECT_TRUE(o.matchList.empty());
}

TEST(RunRuleTest, MegabyteSubjectGivesWholeResultAndMatchList)
{
    const std::string subject = "/" + std::string(1u << 20, 'a');
    TestOutcome o = RunLine("RewriteRule ^/(a*)$ /$1$1", subject);
    ASSERT_EQ(TestOutcome::Status::Matched, o.status) << o.message;
    EXPECT_EQ("/" + std::string(2u << 20, 'a'), o.result);
    EXPECT_EQ("$0:\t" + subject + "\r\n$1:\t" + subject.substr(1) + "\r\n", o.matchList);
}

TEST(RunRuleTest, MatchListBeyondBoundIsAnError)
{
    // Every one of the nested groups holds the whole subject.
    const std::size_t groups = 20;
    const std::string pattern = "^" + std::string(groups, '(') + ".*" + std::string(groups, ')') + "$";
    const std::string subject(kMaxMatchListLength / groups + 1, 'a');
    TestOutcome o = RunLine("RewriteRule " + pattern + " /x", subject);
    EXPECT_EQ(TestOutcome::Status::Failed, o.status);
    EXPECT_EQ("Match results too long: more than " + std::to_string(kMaxMatchListLength) + " characters", o.message);
    EXPECT_TRUE(o.matchList.empty());
    EXPECT_TRUE(o.result.empty());
}

TEST(RunRuleTest, CatastrophicBacktrackingIsReportedNotThrown)
{
    TestOutcome o = RunLine("RewriteRule ^(a+)+$ /x", std::string(64, 'a') + "b");
    EXPECT_EQ(TestOutcome::Status::Failed, o.status);
    EXPECT_EQ(0u, o.message.rfind(Texts::kTestFailed, 0)) << o.message;
    EXPECT_FALSE(o.timed);
}

TEST(RunRuleTest, BinaryBytesInSubjectAreSearchedAsText)
{
    std::string subject = "/a\x01\xff\x7f" "b";
    TestOutcome o = RunLine("RewriteRule ^/a(.+)b$ /x$1", subject);
    ASSERT_EQ(TestOutcome::Status::Matched, o.status);
    EXPECT_EQ("/x\x01\xff\x7f", o.result);
}

TEST(AddressPrefix, SchemeAndHostOfWholeAddress)
{
    EXPECT_EQ(std::string("http://host").size(), AddressPrefixLength("http://host/a?b=1"));
    EXPECT_EQ(std::string("HTTPS://h:8080").size(), AddressPrefixLength("HTTPS://h:8080/x"));
    EXPECT_EQ(std::string("http://host").size(), AddressPrefixLength("http://host"));
    EXPECT_EQ(0u, AddressPrefixLength("/a/http://host"));
    EXPECT_EQ(0u, AddressPrefixLength("ftp://host/a"));
}

TEST(SubjectOf, CutsAtFirstQuestionMark)
{
    EXPECT_EQ("/a", SubjectOf("/a?b=1?c"));
    EXPECT_EQ("/a", SubjectOf("/a"));
    EXPECT_EQ("", SubjectOf("?x"));
}

TEST(ElapsedTime, RoundsToSinglePrecisionAndFormatsSixDecimals)
{
    EXPECT_EQ("0.012345 ms", FormatElapsedTime(0.012345f));
    EXPECT_EQ("1500.000000 ms", FormatElapsedTime(1500.0f));
    EXPECT_FLOAT_EQ(2.5f, ElapsedMilliseconds(1000, 1025, 10000));
    EXPECT_EQ("0.000000 ms", FormatElapsedTime(ElapsedMilliseconds(5, 5, 3579545)));
    float ms = ElapsedMilliseconds(0, 1, 3);
    EXPECT_EQ(static_cast<float>(static_cast<double>(static_cast<float>(1.0 / 3.0)) * 1000.0), ms);
    EXPECT_EQ(0.0f, ElapsedMilliseconds(0, 10, 0));
}

}
