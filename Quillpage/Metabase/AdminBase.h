#pragma once
// The two IIS configuration stores behind one interface: the physical folder of a path inside a
// web site. Store objects are made by CreateAdminObject, used for one lookup on a thread that has
// COM initialised, and dropped.
#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>

namespace Orvane::Metabase {

struct IAdminBase {
    // The folder that the store maps to path under metabasePath; true when a non-empty folder was
    // found.
    virtual bool GetPhysicalPath(const std::wstring& metabasePath, const std::wstring& path,
                                 std::wstring& physicalPath) = 0;
    // The folder of urlPath ("/" for the root) in site siteId; true when it is not empty.
    virtual bool GetSitePhysicalPath(std::int32_t siteId, const std::wstring& urlPath, std::wstring& physicalPath) = 0;
    virtual ~IAdminBase() = default;
};

// A metabase store object when the metabase can be created, else an IIS 7 store object when that
// can be, else an empty pointer. Throws std::bad_alloc when memory runs out.
boost::shared_ptr<IAdminBase> CreateAdminObject();

}
