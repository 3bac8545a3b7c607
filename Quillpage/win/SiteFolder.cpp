#include "SiteFolder.h"

#include <Metabase/AdminBase.h>

#include <RewriteConfig/TextFunctions.h>

#include <new>

namespace Orvane { namespace Quillon {

std::wstring LookUpSiteFolder(std::int32_t siteId, const std::wstring& pathInSite)
{
    std::wstring folder;
    try {
        const boost::shared_ptr<Metabase::IAdminBase> store = Metabase::CreateAdminObject();
        if (!store || !store->GetSitePhysicalPath(siteId, pathInSite, folder))
            return std::wstring();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        return std::wstring();
    }
    TrimDirectoryPath(folder);
    return folder;
}

}}
