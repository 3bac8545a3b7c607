#include "SharedExpressions.h"

#include <cstring>

#include "LinearMatcher.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon { namespace Detail {

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
    // "\$\{" is the two characters themselves, and every match of the other two expressions begins
    // with "%{": one look at each "{" tells whether either can be there.
    bool dollarBrace = false;
    bool percentBrace = false;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* at = begin; at != end && !(dollarBrace && percentBrace);) {
        const char* const brace = static_cast<const char*>(std::memchr(at, '{', static_cast<std::size_t>(end - at)));
        if (brace == nullptr)
            break;
        if (brace != begin) {
            dollarBrace = dollarBrace || brace[-1] == '$';
            percentBrace = percentBrace || brace[-1] == '%';
        }
        at = brace + 1;
    }
    hasDollarBrace = dollarBrace ? 1 : 0;
    hasHttpHeader = percentBrace && kHttpHeaderReference.FoundIn(text) ? 1 : 0;
    // A %{HTTP:name} reference is also a %{name} one.
    hasPercentBrace = hasHttpHeader || (percentBrace && kPercentBraceReference.FoundIn(text)) ? 1 : 0;
}

}}}
