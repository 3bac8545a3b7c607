#include "RuleTest.h"

#include <cstdio>
#include <exception>
#include <new>
#include <vector>

#include <boost/regex.hpp>

#include "CheckedIterator.h"
#include "ProbeTexts.h"
#include "RuleLine.h"

namespace Orvane { namespace Quillprobe {

namespace {

const boost::regex& AddressPattern()
{
    static const boost::regex expression("(https?://[^/]+).*", boost::regex::perl | boost::regex::icase);
    return expression;
}

const bool addressReady = (AddressPattern(), true);

using CheckedMatch = boost::match_results<CheckedIterator>;

struct ResultTooLong {};
struct MatchListTooLong {};

// Output iterator that appends to a string and refuses to grow it past kMaxResultLength.
class BoundedAppender {
public:
    using iterator_category = std::output_iterator_tag;
    using value_type = void;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = void;

    explicit BoundedAppender(std::string& target) : target_(&target) {}
    BoundedAppender& operator*() { return *this; }
    BoundedAppender& operator++() { return *this; }
    BoundedAppender operator++(int) { return *this; }
    BoundedAppender& operator=(char c)
    {
        if (target_->size() >= kMaxResultLength)
            throw ResultTooLong();
        target_->push_back(c);
        return *this;
    }

private:
    std::string* target_;
};

template <typename... Args>
std::string Printf(const char* format, Args... args)
{
    int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, args...);
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string ResultTooLongText()
{
    return Printf(Texts::kResultTooLong, kMaxResultLength);
}

std::string MatchListTooLongText()
{
    return Printf(Texts::kMatchListTooLong, kMaxMatchListLength);
}

// Search of the subject with the rule's compiled expression, exclusive-or'ed with its negation.
// A negated rule whose pattern is not found gets results with one empty group 0.
bool MatchRule(const Quillon::CfgRewriteRule& rule, const std::string& subject, CheckedMatch& results,
               const std::atomic<bool>* stop)
{
    bool found = boost::regex_search(CheckedBegin(subject, stop), CheckedEnd(subject, stop), results, rule.regex);
    bool matched = found != static_cast<bool>(rule.negate);
    if (matched && !found) {
        // The pattern was not found, so no group took part: every reference formats as empty.
        static const std::string nothing;
        static const boost::regex empty("");
        boost::regex_search(CheckedBegin(nothing, nullptr), CheckedEnd(nothing, nullptr), results, empty);
    }
    return matched;
}

// The substitution formatted with the results (all format features); throws ResultTooLong when
// the text would exceed kMaxResultLength.
std::string FormatResult(const CheckedMatch& results, const std::string& substitution)
{
    std::string result;
    results.format(BoundedAppender(result), substitution, boost::format_all);
    return result;
}

// One line "$i:\t<text>\r\n" per group, group 0 first; throws MatchListTooLong when the list
// would exceed kMaxMatchListLength.
std::string FormatMatchList(const CheckedMatch& results)
{
    std::string list;
    for (std::size_t i = 0; i < results.size(); ++i) {
        std::size_t length = static_cast<std::size_t>(results.length(static_cast<int>(i)));
        // "$", the index (at most 20 digits), ":\t" and "\r\n".
        if (length > kMaxMatchListLength || list.size() + length + 25 > kMaxMatchListLength)
            throw MatchListTooLong();
        list += '$';
        list += std::to_string(i);
        list += ":\t";
        list += results.str(static_cast<int>(i));
        list += "\r\n";
    }
    return list;
}

}

std::size_t AddressPrefixLength(const std::string& testString)
{
    (void)addressReady;
    boost::smatch what;
    try {
        if (boost::regex_match(testString, what, AddressPattern()))
            return static_cast<std::size_t>(what.length(1));
    } catch (const std::exception&) {
    }
    return 0;
}

std::string SubjectOf(const std::string& testString)
{
    return testString.substr(0, testString.find('?'));
}

float ElapsedMilliseconds(std::int64_t start, std::int64_t now, std::int64_t frequency)
{
    if (frequency <= 0)
        return 0.0f;
    float seconds = static_cast<float>(static_cast<double>(now - start) / static_cast<double>(frequency));
    return static_cast<float>(static_cast<double>(seconds) * 1000.0);
}

std::string FormatElapsedTime(float milliseconds)
{
    return Printf(Texts::kElapsedFormat, static_cast<double>(milliseconds));
}

TestOutcome RunRuleTest(Quillon::CfgRewriteRule& rule, const std::string& ruleLine,
                        const std::string& subject, Stopwatch& stopwatch, const std::atomic<bool>* stop)
{
    TestOutcome outcome;
    RuleLineParts parts;
    if (!MatchRuleLine(ruleLine, LineForm::Test, parts)) {
        outcome.status = TestOutcome::Status::BadFormat;
        outcome.message = Texts::kBadRuleFormat;
        return outcome;
    }
    rule.ResetFlags();
    rule.pattern = parts.pattern;
    rule.substitution = parts.substitution;
    rule.flagsText = parts.flagsText;
    std::string errors;
    if (!rule.Compile(errors)) {
        outcome.status = TestOutcome::Status::CompileFailed;
        outcome.message = errors;
        return outcome;
    }

    try {
        stopwatch.Start();
        CheckedMatch results;
        if (!MatchRule(rule, subject, results, stop)) {
            outcome.timed = true;
            outcome.elapsedMs = stopwatch.ElapsedMilliseconds();
            outcome.status = TestOutcome::Status::NotMatched;
            outcome.message = Texts::kPatternNotMatched;
            return outcome;
        }
        std::string result = FormatResult(results, rule.substitution);
        outcome.elapsedMs = stopwatch.ElapsedMilliseconds();
        outcome.timed = true;
        outcome.matchList = FormatMatchList(results);

        if (rule.next || rule.loop) {
            outcome.iterated = true;
            std::string& log = outcome.iterationLog;
            log = result + "\r\n";
            std::string current = result;
            int count = 0;
            while (MatchRule(rule, current, results, stop)) {
                std::string next;
                try {
                    next = FormatResult(results, rule.substitution);
                } catch (const ResultTooLong&) {
                    log += Texts::kIterationsTooLong;
                    break;
                }
                if (log.size() + next.size() + 2 > kMaxIterationLogLength) {
                    log += Texts::kIterationsTooLong;
                    break;
                }
                log += next;
                log += "\r\n";
                result = next;
                current = std::move(next);
                if (++count > kMaxIterations) {
                    log += Texts::kInfiniteLoop;
                    break;
                }
            }
        }
        outcome.result = std::move(result);
        outcome.status = TestOutcome::Status::Matched;
    } catch (const SearchStopped&) {
        outcome = TestOutcome();
        outcome.status = TestOutcome::Status::CutOff;
        outcome.message = Texts::kTestCutOff;
    } catch (const ResultTooLong&) {
        outcome = TestOutcome();
        outcome.status = TestOutcome::Status::Failed;
        outcome.message = ResultTooLongText();
    } catch (const MatchListTooLong&) {
        outcome = TestOutcome();
        outcome.status = TestOutcome::Status::Failed;
        outcome.message = MatchListTooLongText();
    } catch (const std::bad_alloc&) {
        outcome = TestOutcome();
        outcome.status = TestOutcome::Status::Failed;
        outcome.message = std::string(Texts::kTestFailed) + Texts::kOutOfMemory;
    } catch (const std::exception& e) {
        outcome = TestOutcome();
        outcome.status = TestOutcome::Status::Failed;
        outcome.message = std::string(Texts::kTestFailed) + e.what();
    }
    return outcome;
}

}}
