#include "AppHostStrategy.h"

#include "SiteNodeType.h"
#include "SitePaths.h"
#include "ServerContext.h"
#include "SiteTreeNode.h"

#include <Framework/ComValues.h>

#include <climits>
#include <functional>
#include <optional>

namespace Orvane::Util {

namespace {

using namespace Orvanedock;
using Framework::Bstr;
using Framework::ComPtr;
using Framework::Variant;

constexpr wchar_t kSitesSection[] = L"system.applicationHost/sites";
constexpr wchar_t kConfigPath[] = L"MACHINE/WEBROOT/APPHOST";
// Applications and virtual directories are indexed with 16-bit integers.
constexpr DWORD kMaxShortIndex = SHRT_MAX;

ComPtr<IAppHostProperty> Property(IAppHostElement* element, const wchar_t* name)
{
    ComPtr<IAppHostProperty> property;
    try {
        Bstr propertyName(name);
        if (FAILED(element->GetPropertyByName(propertyName.Get(), property.Receive())))
            property.Reset();
    } catch (...) {
        property.Reset();
    }
    return property;
}

// A null text counts as empty.
std::optional<std::wstring> StringProperty(IAppHostElement* element, const wchar_t* name)
{
    ComPtr<IAppHostProperty> property = Property(element, name);
    if (!property)
        return std::nullopt;
    Bstr value;
    if (FAILED(property->get_StringValue(value.Receive())))
        return std::nullopt;
    return value.Text();
}

// An integer property of any integer VARIANT type that holds a positive 32-bit value.
std::optional<long> IdProperty(IAppHostElement* element, const wchar_t* name)
{
    ComPtr<IAppHostProperty> property = Property(element, name);
    if (!property)
        return std::nullopt;
    Variant value;
    if (FAILED(property->get_Value(value.Receive())))
        return std::nullopt;
    const VARIANT& v = value.Get();
    switch (v.vt) {
    case VT_I4:
        return static_cast<long>(v.lVal);
    case VT_UI4:
        return v.ulVal <= static_cast<ULONG>(LONG_MAX) ? std::optional<long>(static_cast<long>(v.ulVal)) : std::nullopt;
    case VT_INT:
        return static_cast<long>(v.intVal);
    case VT_UINT:
        return v.uintVal <= static_cast<UINT>(LONG_MAX) ? std::optional<long>(static_cast<long>(v.uintVal)) : std::nullopt;
    case VT_I2:
        return static_cast<long>(v.iVal);
    case VT_UI2:
        return static_cast<long>(v.uiVal);
    default:
        return std::nullopt;
    }
}

ComPtr<IAppHostElementCollection> Children(IAppHostElement* element)
{
    ComPtr<IAppHostElementCollection> collection;
    if (!element || FAILED(element->get_Collection(collection.Receive())))
        collection.Reset();
    return collection;
}

DWORD Count(IAppHostElementCollection* collection)
{
    DWORD count = 0;
    if (!collection || FAILED(collection->get_Count(&count)))
        return 0;
    return count;
}

// How a collection is indexed: sites with 32-bit integers, applications and virtual directories
// with 16-bit ones.
enum class IndexKind { Int32, Int16 };

// Calls visit for each element in collection order until visit answers false; the walk also ends
// at the first element that cannot be read.
void ForEachElement(IAppHostElementCollection* collection, IndexKind kind,
                    const std::function<bool(IAppHostElement*)>& visit)
{
    const DWORD count = Count(collection);
    const DWORD last = kind == IndexKind::Int16 ? kMaxShortIndex : static_cast<DWORD>(LONG_MAX);
    for (DWORD index = 0; index < count && index <= last; ++index) {
        const Variant position = kind == IndexKind::Int16 ? Variant::Int16(static_cast<SHORT>(index))
                                                          : Variant::Int32(static_cast<LONG>(index));
        ComPtr<IAppHostElement> element;
        if (FAILED(collection->get_Item(position.Get(), element.Receive())) || !element || !visit(element.Get()))
            return;
    }
}

}

IISSiteSearchStrategyAHAdmin::IISSiteSearchStrategyAHAdmin(IFolderSource& folders) : IISSiteSearchStrategy(folders)
{
    available = SUCCEEDED(::CoCreateInstance(CLSID_AppHostAdminManager, nullptr, Util::kAnyServerContext,
                                             IID_IAppHostAdminManager, manager_.ReceiveVoid())) &&
                manager_;
}

ComPtr<IAppHostElementCollection> IISSiteSearchStrategyAHAdmin::Sites()
{
    if (!manager_)
        return nullptr;
    ComPtr<IAppHostElement> section;
    try {
        Bstr sectionName(kSitesSection), path(kConfigPath);
        if (FAILED(manager_->GetAdminSection(sectionName.Get(), path.Get(), section.Receive())))
            return nullptr;
    } catch (...) {
        return nullptr;
    }
    return Children(section.Get());
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
