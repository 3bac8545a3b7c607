#include "AppHostStrategy.h"

#include "SiteNodeType.h"
#include "SitePaths.h"
#include "SiteTreeNode.h"

#include <Common/AppHostElements.h>
#include <Framework/Handles.h>

#include <optional>

namespace Orvane::Util {

namespace {

using namespace Orvanedock;
using namespace AppHost;
using Framework::ComPtr;

}

IISSiteSearchStrategyAHAdmin::IISSiteSearchStrategyAHAdmin(IFolderSource& folders) : IISSiteSearchStrategy(folders)
{
    available = SUCCEEDED(AppHost::Create(manager_));
}

ComPtr<IAppHostElementCollection> IISSiteSearchStrategyAHAdmin::Sites()
{
    try {
        return AppHost::Sites(manager_.Get());
    } catch (...) {
        return nullptr;
    }
}

int IISSiteSearchStrategyAHAdmin::FindSites(SiteTreeNode* node)
{
    if (!node)
        return 0;
    int added = 0;
    ForEachElement(Sites().Get(), IndexKind::Int32, [&](IAppHostElement* site) {
        std::optional<long> id = IdProperty(site, L"id");
        std::optional<std::wstring> name = id ? StringProperty(site, L"name") : std::nullopt;
        if (!name)
            return false;
        if (node->AddChild(*name, SiteMetabasePath(std::to_wstring(*id)), std::wstring(), kNodeWebSite))
            ++added;
        return true;
    });
    return added;
}

ComPtr<IAppHostElement> IISSiteSearchStrategyAHAdmin::FindSiteElement(long id)
{
    ComPtr<IAppHostElement> found;
    ForEachElement(Sites().Get(), IndexKind::Int32, [&](IAppHostElement* site) {
        std::optional<long> siteId = IdProperty(site, L"id");
        if (siteId && *siteId == id)
            found = ComPtr<IAppHostElement>(site);
        return siteId && !found;
    });
    return found;
}

AppHostSite IISSiteSearchStrategyAHAdmin::ReadSite(IAppHostElement* site, long id)
{
    AppHostSite result;
    result.id = id;
    ForEachElement(Children(site).Get(), IndexKind::Int16, [&](IAppHostElement* application) {
        std::optional<std::wstring> path = StringProperty(application, L"path");
        if (!path)
            return false;
        AppHostApplication entry{*path, {}};
        ForEachElement(Children(application).Get(), IndexKind::Int16, [&](IAppHostElement* directory) {
            std::optional<std::wstring> directoryPath = StringProperty(directory, L"path");
            if (!directoryPath)
                return false;
            // A directory whose folder cannot be read still names its path; it just has no folders.
            std::optional<std::wstring> physicalPath = StringProperty(directory, L"physicalPath");
            entry.virtualDirectories.push_back(AppHostVirtualDirectory{*directoryPath, physicalPath.value_or(L"")});
            return true;
        });
        result.applications.push_back(std::move(entry));
        return true;
    });
    return result;
}

int IISSiteSearchStrategyAHAdmin::FindVirtualDirectories(SiteTreeNode* node)
{
    if (!node)
        return 0;
    const long id = SiteIdFromMetaPath(node->Item().metabasePath);
    if (id == 0)
        return 0;
    ComPtr<IAppHostElement> element = FindSiteElement(id);
    if (!element)
        return 0;
    const AppHostSite site = ReadSite(element.Get(), id);
    if (node->Item().nodeType == kNodeWebSite)
        return ListSiteChildren(*node, site);
    std::optional<std::wstring> rest = PathInSite(node->Item().metabasePath);
    if (!rest)
        return 0;
    return ListBelowSiteNode(*node, site, *rest);
}

int IISSiteSearchStrategyAHAdmin::FindDirectories(SiteTreeNode*, const std::wstring*)
{
    return 0;
}

}
