#include "AHAdminObject.h"

#include <Common/AppHostElements.h>
#include <Exceptions/Exceptions.h>
#include <Framework/Paths.h>

#include <core/StoreWalks.h>

#include <optional>

namespace Orvane::Metabase {

using Framework::ComPtr;

CAHAdminObject::CAHAdminObject()
{
    if (FAILED(AppHost::Create(manager_)))
        throw Exceptions::CreateComObjectError();
}

CAHAdminObject::~CAHAdminObject() = default;

bool CAHAdminObject::GetPhysicalPath(const std::wstring& metabasePath, const std::wstring& path,
                                     std::wstring& physicalPath)
{
    physicalPath.clear();
    if (!IsW3svcMetaPath(metabasePath))
        return false;
    const long siteNumber = SiteNumberFromMetaPath(metabasePath);

    ComPtr<IAppHostElement> site;
    AppHost::ForEachElement(AppHost::Sites(manager_.Get()).Get(), AppHost::IndexKind::Int32,
                            [&](IAppHostElement* element) {
                                const std::optional<long> id = AppHost::IdProperty(element, L"id");
                                if (id && *id == siteNumber)
                                    site = ComPtr<IAppHostElement>(element);
                                return id && !site;
                            });
    if (!site)
        return false;

    bool found = false;
    AppHost::ForEachElement(
        AppHost::Children(site.Get()).Get(), AppHost::IndexKind::Int16, [&](IAppHostElement* application) {
            const std::optional<std::wstring> applicationPath = AppHost::StringProperty(application, L"path");
            if (!applicationPath)
                return false;
            if (!ApplicationContains(path, *applicationPath))
                return true;
            const std::wstring prefix = EffectiveApplicationPath(*applicationPath);
            bool stop = false;
            AppHost::ForEachElement(
                AppHost::Children(application).Get(), AppHost::IndexKind::Int16, [&](IAppHostElement* directory) {
                    const std::optional<std::wstring> directoryPath = AppHost::StringProperty(directory, L"path");
                    if (!directoryPath) {
                        stop = true;
                        return false;
                    }
                    if (prefix + *directoryPath != path)
                        return true;
                    const std::optional<std::wstring> folder = AppHost::StringProperty(directory, L"physicalPath");
                    if (folder) {
                        // The store keeps references such as %SystemDrive% unexpanded.
                        physicalPath = Framework::ExpandEnvironmentText(*folder);
                        found = true;
                    }
                    stop = true;
                    return false;
                });
            return !stop;
        });
    return found && !physicalPath.empty();
}

bool CAHAdminObject::GetSitePhysicalPath(std::int32_t siteId, const std::wstring& urlPath, std::wstring& physicalPath)
{
    try {
        const std::wstring key = SiteRootKey(siteId);
        return WalkAppHostPath(
            urlPath,
            [&](const std::wstring& lookupPath, std::wstring& value) { return GetPhysicalPath(key, lookupPath, value); },
            physicalPath);
    } catch (...) {
        return false;
    }
}

}
