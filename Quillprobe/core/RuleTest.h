#pragma once
// One test run of a rule line on a test string, without any window.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

#include <RewriteConfig/RewriteConfig.h>

namespace Orvane { namespace Quillprobe {

// Longest result one formatting may produce, longest match list, and longest iteration log: a
// substitution that repeats its match would otherwise double the subject on every round, and a
// pattern of many nested groups would copy a long subject once per group, until memory runs out.
inline constexpr std::size_t kMaxResultLength = 1u << 24;
inline constexpr std::size_t kMaxMatchListLength = 1u << 24;
inline constexpr std::size_t kMaxIterationLogLength = 1u << 18;
// Rounds after the first result before a loop counts as infinite.
inline constexpr int kMaxIterations = 20;

// Length of the scheme and host in front of a test string that is a whole address, else 0.
std::size_t AddressPrefixLength(const std::string& testString);

// The part of the test string that is searched: everything before the first "?".
std::string SubjectOf(const std::string& testString);

// Milliseconds between two counter values, rounded to single precision as the time text shows it.
float ElapsedMilliseconds(std::int64_t start, std::int64_t now, std::int64_t frequency);
std::string FormatElapsedTime(float milliseconds);

// The high-resolution counter the time text is measured with.
class Stopwatch {
public:
    virtual ~Stopwatch() = default;
    virtual void Start() = 0;
    virtual float ElapsedMilliseconds() = 0;
};

struct TestOutcome {
    enum class Status { BadFormat, CompileFailed, NotMatched, Matched, Failed, CutOff };
    Status status = Status::BadFormat;
    std::string message;         // the error text for every status but Matched
    bool timed = false;          // the time text is to be updated
    float elapsedMs = 0;
    std::string matchList;
    std::string result;
    bool iterated = false;       // the rule loops: show iterationLog
    std::string iterationLog;
};

// Resets the rule's flags, fills it from the line, compiles it and runs it on the subject.
// Never throws: a search or formatting that fails becomes Status::Failed with its reason. When
// stop is given and becomes true (from another thread), the search and formatting end at their
// next step and the outcome is Status::CutOff.
TestOutcome RunRuleTest(Quillon::CfgRewriteRule& rule, const std::string& ruleLine,
                        const std::string& subject, Stopwatch& stopwatch,
                        const std::atomic<bool>* stop = nullptr);

}}
