#pragma once
// The IIS node named by a metabase path ("/LM/W3SVC/3/ROOT/shop/"): the site number and the path
// inside the site. A path that names no site stands for the server level.
#include <cstdint>
#include <string>

namespace Orvane { namespace Quillon {

struct SiteLocation {
    static constexpr std::int32_t ServerLevel = -1;

    std::int32_t siteId = ServerLevel;
    std::wstring pathInSite = L"/";
};

// Searches the text case-insensitively for "/W3SVC/(\d+)/ROOT(/.*)?". Without a match the result is
// the server level with the path "/". A site number too large for 32 bits becomes the largest one,
// which names no site.
SiteLocation ParseMetabasePath(const std::wstring& metabasePath);

}}
