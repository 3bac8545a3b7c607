#pragma once
// Sites, applications, virtual directories and folders from the IIS 7 application-host store,
// section "system.applicationHost/sites" of "MACHINE/WEBROOT/APPHOST". Every node below a site is
// located again from its metabase path.
#include "SiteSearchStrategy.h"

#include <Common/AppHostAdmin.h>
#include <Framework/Handles.h>

namespace Orvane::Util {

class IISSiteSearchStrategyAHAdmin : public IISSiteSearchStrategy {
public:
    // Creates the store's admin manager and keeps it; available when that succeeded.
    explicit IISSiteSearchStrategyAHAdmin(IFolderSource& folders);

    int FindSites(SiteTreeNode* node) override;
    // Everything below a site, a virtual directory, an application or a folder.
    int FindVirtualDirectories(SiteTreeNode* node) override;
    // Folders come with the virtual directories.
    int FindDirectories(SiteTreeNode* node, const std::wstring* path) override;

private:
    Framework::ComPtr<IAppHostElementCollection> Sites();
    // The site element whose "id" is id; null when none matches or a call fails.
    Framework::ComPtr<IAppHostElement> FindSiteElement(long id);
    // What the store holds for the site, up to the first call that fails.
    static AppHostSite ReadSite(IAppHostElement* site, long id);

    Framework::ComPtr<IAppHostAdminManager> manager_;
};

}
