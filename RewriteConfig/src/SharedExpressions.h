#pragma once
// Expressions that rules and conditions share: the flag list separator and the reference scans.
#include <string>
#include <vector>

#include <boost/regex.hpp>

namespace Orvane { namespace Quillon { namespace Detail {

// A comma with the white space around it.
extern const boost::regex kFlagSeparator;

// The pieces of a flag list between the matches of kFlagSeparator, with the piece rules of regex_split
// (empty pieces before the first produced piece and an empty rest are left out). Each match is found
// directly: it starts at the white space right before the next comma and ends after the white space
// that follows it.
void SplitFlagList(const std::string& text, std::vector<std::string>& pieces);

// Assigns 1 or 0: "${" anywhere (the expression "\$\{"); a %{HTTP:name} reference; a %{name} reference (also set by the second).
void ScanReferences(const std::string& text, unsigned char& hasDollarBrace, unsigned char& hasHttpHeader,
                    unsigned char& hasPercentBrace);

}}}
