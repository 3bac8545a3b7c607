#pragma once
// A test run on a thread of its own, so that the window that started it stays responsive, and a
// run that takes too long is cut off at a time limit instead of blocking for minutes.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "RuleTest.h"

namespace Orvane { namespace Quillprobe {

// How long the Test button lets one test run (the search, the formatting and the iterations).
inline constexpr std::chrono::milliseconds kTestTimeLimit{2000};

class RuleTestRun {
public:
    // Starts RunRuleTest on a copy of the rule; ended is called on the run's thread when the
    // outcome is ready (a window uses it to wake its wait).
    RuleTestRun(const Quillon::CfgRewriteRule& rule, std::string ruleLine, std::string subject,
                std::unique_ptr<Stopwatch> stopwatch, std::function<void()> ended = nullptr);
    // Cuts a run that is still going off and waits for its thread.
    ~RuleTestRun();
    RuleTestRun(const RuleTestRun&) = delete;
    RuleTestRun& operator=(const RuleTestRun&) = delete;

    // Waits until the run has ended or the time has passed; true when it has ended.
    bool WaitFor(std::chrono::milliseconds time);
    bool Ended() const;
    // Asks the run to stop; it ends at its next step with TestOutcome::Status::CutOff.
    void CutOff() noexcept;

    // Waits for the end; the outcome, and the rule as the run filled and compiled it.
    const TestOutcome& Outcome();
    const Quillon::CfgRewriteRule& Rule();

private:
    void Run() noexcept;

    Quillon::CfgRewriteRule rule_;
    std::string ruleLine_;
    std::string subject_;
    std::unique_ptr<Stopwatch> stopwatch_;
    std::function<void()> ended_;
    TestOutcome outcome_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::condition_variable endedSignal_;
    bool done_ = false;
    std::thread thread_;
};

// Runs the test on its own thread and cuts it off after the time limit.
TestOutcome RunRuleTestWithin(Quillon::CfgRewriteRule& rule, const std::string& ruleLine, const std::string& subject,
                              std::unique_ptr<Stopwatch> stopwatch, std::chrono::milliseconds limit);

}}
