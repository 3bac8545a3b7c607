#pragma once
// The physical folder that the IIS configuration store maps a site's node to.
#include <cstdint>
#include <string>

namespace Orvane { namespace Quillon {

// The site's physical folder for the path inside the site, ended with a separator; empty when no
// store answers. Running out of memory is the caller's; any other failure is a failed lookup.
std::wstring LookUpSiteFolder(std::int32_t siteId, const std::wstring& pathInSite);

}}
