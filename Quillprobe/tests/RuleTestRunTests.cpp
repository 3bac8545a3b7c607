// The test run on its own thread: cut off at its time limit, and otherwise the same as a direct run.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "ProbeTexts.h"
#include "RuleTestRun.h"

using namespace Orvane::Quillon;
using namespace Orvane::Quillprobe;

namespace {

class NullStopwatch : public Stopwatch {
public:
    void Start() override {}
    float ElapsedMilliseconds() override { return 0.0f; }
};

std::unique_ptr<Stopwatch> Watch() { return std::make_unique<NullStopwatch>(); }

// Seconds of backtracking before the expression engine gives up with its own error: the first
// alternative tries every split of the a's, and the long second one makes the engine's own
// limit on its work grow with the square of the pattern's length.
const std::string kSlowLine = "RewriteRule ^(a|a)*$|" + std::string(3000, 'z') + " /x";
const std::string kSlowSubject = std::string(30, 'a') + "b";

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

TEST(RuleTestRun, SlowSearchIsCutOffAtTheLimit)
{
    CfgRewriteRule rule;
    const auto start = std::chrono::steady_clock::now();
    TestOutcome o = RunRuleTestWithin(rule, kSlowLine, kSlowSubject, Watch(), std::chrono::milliseconds(200));
    EXPECT_LT(SecondsSince(start), 2.0);
    EXPECT_EQ(TestOutcome::Status::CutOff, o.status);
    EXPECT_EQ(Texts::kTestCutOff, o.message);
    EXPECT_FALSE(o.timed);
    EXPECT_TRUE(o.result.empty());
    EXPECT_TRUE(o.matchList.empty());
}

TEST(RuleTestRun, EndingARunThatIsStillGoingDoesNotWaitForTheSearch)
{
    const auto start = std::chrono::steady_clock::now();
    bool ended = false;
    {
        CfgRewriteRule rule;
        RuleTestRun run(rule, kSlowLine, kSlowSubject, Watch(), [&ended] { ended = true; });
        EXPECT_FALSE(run.WaitFor(std::chrono::milliseconds(50)));
        EXPECT_FALSE(run.Ended());
    }
    EXPECT_TRUE(ended);
    EXPECT_LT(SecondsSince(start), 2.0);
}

TEST(RuleTestRun, WithinTheLimitTheOutcomeIsTheDirectOne)
{
    struct Case {
        const char* line;
        const char* subject;
        TestOutcome::Status status;
    };
    const Case cases[] = {
        {"RewriteRule ^/(\\w+)$ /x.asp?p=$1 [NC]", "/Page", TestOutcome::Status::Matched},
        {"RewriteRule ^/a$ /b [N]", "/a", TestOutcome::Status::Matched},
        {"RewriteRule ^/b$ /c", "/a", TestOutcome::Status::NotMatched},
        {"RewriteRule ( /b", "/a", TestOutcome::Status::CompileFailed},
        {"RewriteCond x y", "/a", TestOutcome::Status::BadFormat},
        // The engine's own complexity error keeps its "Test failed: ..." report.
        {"RewriteRule ^(a+)+$ /x", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab",
         TestOutcome::Status::Failed},
    };
    for (const Case& c : cases) {
        CfgRewriteRule direct;
        NullStopwatch watch;
        TestOutcome expected = RunRuleTest(direct, c.line, c.subject, watch);
        CfgRewriteRule threaded;
        TestOutcome o = RunRuleTestWithin(threaded, c.line, c.subject, Watch(), std::chrono::seconds(60));
        EXPECT_EQ(c.status, o.status) << c.line;
        EXPECT_EQ(expected.status, o.status) << c.line;
        EXPECT_EQ(expected.message, o.message) << c.line;
        EXPECT_EQ(expected.result, o.result) << c.line;
        EXPECT_EQ(expected.matchList, o.matchList) << c.line;
        EXPECT_EQ(expected.iterationLog, o.iterationLog) << c.line;
        if (c.status == TestOutcome::Status::Failed) {
            EXPECT_EQ(0u, o.message.rfind(Texts::kTestFailed, 0)) << o.message;
        }
        // The rule comes back as the run filled it.
        EXPECT_EQ(direct.pattern, threaded.pattern) << c.line;
        EXPECT_EQ(direct.nocase, threaded.nocase) << c.line;
        EXPECT_EQ(direct.next, threaded.next) << c.line;
    }
}

TEST(RunRuleTest, StopFlagEndsTheSearchAndTheIterations)
{
    std::atomic<bool> stop{true};
    struct Case {
        const char* line;
        const char* subject;
    };
    for (const Case& c : {Case{"RewriteRule ^/(a+)$ /$1", "/aaa"}, Case{"RewriteRule ^(.*)$ /x$1 [N]", "/a"}}) {
        CfgRewriteRule rule;
        NullStopwatch watch;
        TestOutcome o = RunRuleTest(rule, c.line, c.subject, watch, &stop);
        EXPECT_EQ(TestOutcome::Status::CutOff, o.status) << c.line;
        EXPECT_EQ(Texts::kTestCutOff, o.message) << c.line;
    }
    // Without a stop request the same lines run to their end.
    stop = false;
    CfgRewriteRule rule;
    NullStopwatch watch;
    EXPECT_EQ(TestOutcome::Status::Matched, RunRuleTest(rule, "RewriteRule ^/(a+)$ /$1", "/aaa", watch, &stop).status);
}

}
