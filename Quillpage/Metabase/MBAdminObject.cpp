#include "MBAdminObject.h"

#include "MBKey.h"
#include "MetabaseErrors.h"

#include <core/StoreWalks.h>

#include <memory>

namespace Orvane::Metabase {

namespace {

// The key, or null when it cannot be opened.
std::unique_ptr<MBKey> OpenKey(IMSAdminBaseW* admin, const std::wstring& key)
{
    try {
        return std::make_unique<MBKey>(admin, key);
    } catch (const MBOpenKeyError&) {
        return nullptr;
    }
}

}

CMBAdminObject::CMBAdminObject()
{
    if (FAILED(IisMetabase::Create(admin_)))
        throw Exceptions::CreateComObjectError();
}

CMBAdminObject::~CMBAdminObject() = default;

bool CMBAdminObject::GetPhysicalPath(const std::wstring& metabasePath, const std::wstring& path,
                                     std::wstring& physicalPath)
{
    std::unique_ptr<MBKey> key = OpenKey(admin_.Get(), metabasePath);
    if (!key)
        return false;
    physicalPath.clear();
    const VirtualRootLookup found = key->ReadVirtualRoot(path);
    if (found.answer == VirtualRootLookup::Value)
        physicalPath = found.value;
    return !physicalPath.empty();
}

bool CMBAdminObject::GetSitePhysicalPath(std::int32_t siteId, const std::wstring& urlPath, std::wstring& physicalPath)
{
    std::unique_ptr<MBKey> key = OpenKey(admin_.Get(), SiteRootKey(siteId));
    if (!key)
        return false;
    return WalkMetabasePath(
        urlPath, [&](const std::wstring& relativePath) { return key->ReadVirtualRoot(relativePath); }, physicalPath);
}

}
