#pragma once
// Texts the rule tester shows to its user, kept in one place.

namespace Orvane { namespace Quillprobe { namespace Texts {

inline constexpr char kDefaultRuleLine[] = "RewriteRule ";
inline constexpr char kBadRuleFormat[] = "Bad RewriteRule format";
inline constexpr char kPatternNotMatched[] = "Pattern Not matched";
inline constexpr char kInfiniteLoop[] = " ---------Infinite loop detected-----------\r\n";
inline constexpr char kIterationsTooLong[] = " ---------Result too long, iterations stopped-----------\r\n";
inline constexpr char kResultTooLong[] = "Result string too long: more than %zu characters";
inline constexpr char kMatchListTooLong[] = "Match results too long: more than %zu characters";
inline constexpr char kTestFailed[] = "Test failed: ";
inline constexpr char kTestCutOff[] = "Test stopped: the pattern takes too long on this test string";
inline constexpr char kOutOfMemory[] = "out of memory";
inline constexpr char kElapsedFormat[] = "%f ms";

inline constexpr wchar_t kInitialTime[] = L"0.00 ms";
inline constexpr wchar_t kAddressQuestion[] = L"Test string should not contain http://. Remove ?";
inline constexpr wchar_t kWarningCaption[] = L"Warning";
inline constexpr wchar_t kIterationsCaption[] = L"Iterations";

}}}
