#include "MetabasePath.h"

#include <boost/regex.hpp>

#include <limits>

namespace Orvane { namespace Quillon {

namespace {

// Compiled once, on first use, and kept for the life of the module.
const boost::wregex& MetabasePathPattern()
{
    static const boost::wregex pattern(L"/W3SVC/(\\d+)/ROOT(/.*)?", boost::regex::perl | boost::regex::icase);
    return pattern;
}

// Decimal digits as a 32-bit number, saturated; stops at the first character that is no ASCII digit.
std::int32_t SiteNumber(const std::wstring& digits)
{
    const std::int64_t limit = std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9')
            break;
        value = value * 10 + (c - L'0');
        if (value > limit)
            return static_cast<std::int32_t>(limit);
    }
    return static_cast<std::int32_t>(value);
}

}

SiteLocation ParseMetabasePath(const std::wstring& metabasePath)
{
    SiteLocation location;
    boost::wsmatch match;
    if (!boost::regex_search(metabasePath, match, MetabasePathPattern()))
        return location;
    location.siteId = SiteNumber(match[1].str());
    if (match[2].matched)
        location.pathInSite = match[2].str();
    return location;
}

}}
