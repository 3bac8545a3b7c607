#include "RuleTestRun.h"

#include "ProbeTexts.h"

namespace Orvane { namespace Quillprobe {

RuleTestRun::RuleTestRun(const Quillon::CfgRewriteRule& rule, std::string ruleLine, std::string subject,
                         std::unique_ptr<Stopwatch> stopwatch, std::function<void()> ended)
    : rule_(rule), ruleLine_(std::move(ruleLine)), subject_(std::move(subject)), stopwatch_(std::move(stopwatch)),
      ended_(std::move(ended))
{
    // Started last: the thread reads every member set above.
    thread_ = std::thread([this] { Run(); });
}

RuleTestRun::~RuleTestRun()
{
    CutOff();
    if (thread_.joinable())
        thread_.join();
}

void RuleTestRun::Run() noexcept
{
    TestOutcome outcome;
    try {
        outcome = RunRuleTest(rule_, ruleLine_, subject_, *stopwatch_, &stop_);
    } catch (...) {
        // RunRuleTest reports its own failures; only copying a result can fail here.
        outcome = TestOutcome();
        outcome.status = TestOutcome::Status::Failed;
        outcome.message = std::string(Texts::kTestFailed) + Texts::kOutOfMemory;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        outcome_ = std::move(outcome);
        done_ = true;
    }
    endedSignal_.notify_all();
    if (ended_) {
        try {
            ended_();
        } catch (...) {
        }
    }
}

bool RuleTestRun::WaitFor(std::chrono::milliseconds time)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return endedSignal_.wait_for(lock, time, [this] { return done_; });
}

bool RuleTestRun::Ended() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return done_;
}

void RuleTestRun::CutOff() noexcept
{
    stop_.store(true, std::memory_order_relaxed);
}

const TestOutcome& RuleTestRun::Outcome()
{
    if (thread_.joinable())
        thread_.join();
    return outcome_;
}

const Quillon::CfgRewriteRule& RuleTestRun::Rule()
{
    if (thread_.joinable())
        thread_.join();
    return rule_;
}

TestOutcome RunRuleTestWithin(Quillon::CfgRewriteRule& rule, const std::string& ruleLine, const std::string& subject,
                              std::unique_ptr<Stopwatch> stopwatch, std::chrono::milliseconds limit)
{
    RuleTestRun run(rule, ruleLine, subject, std::move(stopwatch));
    if (!run.WaitFor(limit))
        run.CutOff();
    TestOutcome outcome = run.Outcome();
    rule = run.Rule();
    return outcome;
}

}}
