#pragma once
// Guarded use of regular expressions on configuration text, and small helpers of the parsers.
#include <cstdint>
#include <string>

#include <boost/regex.hpp>

#include "RewriteConfig/TextFunctions.h"

namespace Orvane { namespace Quillon { namespace Detail {

// Every expression of the model: Perl syntax, case-insensitive.
const boost::regex::flag_type kNoCase = boost::regex::perl | boost::regex::icase;

// Perl syntax, case-insensitive when nocase is set: the syntax of user patterns.
inline boost::regex::flag_type PatternSyntax(bool nocase)
{
    return nocase ? kNoCase : static_cast<boost::regex::flag_type>(boost::regex::perl);
}

// The library throws std::runtime_error when matching an expression against a text grows too complex;
// such a text counts as not matching. Nothing thrown while matching leaves this function.
bool SafeSearch(const std::string& text, boost::smatch& what, const boost::regex& expression);

// Value of a run of decimal digits; values beyond 32 bits saturate at INT32_MAX.
std::int32_t DecimalValue(const std::string& digits);
// value * factor for non-negative operands, saturated at INT32_MAX.
std::int32_t SaturatedProduct(std::int32_t value, std::int32_t factor);

// White space and case as the global locale classifies them (the C runtime's isspace and tolower).
std::string& TrimSpace(std::string& text);
std::wstring& TrimSpace(std::wstring& text);
std::string& LowerCase(std::string& text);
std::wstring& LowerCase(std::wstring& text);

// Case-insensitive equality of two texts for ASCII letters.
bool EqualsNoCase(const std::string& a, const char* b);

}}}
