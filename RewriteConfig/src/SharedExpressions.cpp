#include "SharedExpressions.h"

#include "LinearMatcher.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon { namespace Detail {

const boost::regex kFlagSeparator("\\s*,\\s*", kNoCase);

namespace {

// A search in a long substitution can take time that grows with the square of its length in the
// library's matcher; the linear matcher answers whether the expression is found at all.
class ReferenceScan {
public:
    explicit ReferenceScan(const char* text) : linear_(text, kNoCase, LinearMatcher::Use::Search) {}
    bool FoundIn(const std::string& text) const { return linear_.FoundIn(text); }

private:
    const LinearMatcher linear_;
};

const ReferenceScan kHttpHeaderReference("\\%\\{\\s*HTTP\\:([^}]+)\\}");
const ReferenceScan kPercentBraceReference("\\%\\{\\s*([^}]+)\\s*\\}");

}

void ScanReferences(const std::string& text, unsigned char& hasDollarBrace, unsigned char& hasHttpHeader,
                    unsigned char& hasPercentBrace)
{
    // "\$\{" is the two characters themselves; every match of the other two expressions holds a "%".
    const bool hasPercent = text.find('%') != std::string::npos;
    hasDollarBrace = text.find("${") != std::string::npos ? 1 : 0;
    hasHttpHeader = hasPercent && kHttpHeaderReference.FoundIn(text) ? 1 : 0;
    hasPercentBrace = hasPercent && kPercentBraceReference.FoundIn(text) ? 1 : 0;
}

}}}
