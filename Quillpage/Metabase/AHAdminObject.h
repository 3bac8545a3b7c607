#pragma once
// The IIS 7 application-host store as an IAdminBase.
#include "AdminBase.h"

#include <Common/AppHostAdmin.h>
#include <Framework/Handles.h>

namespace Orvane::Metabase {

class CAHAdminObject : public IAdminBase {
public:
    // Creates the admin manager; throws Exceptions::CreateComObjectError when it cannot.
    CAHAdminObject();
    ~CAHAdminObject() override;

    // metabasePath names the site ("/LM/W3SVC/<id>..."); path is a URL path inside it that must
    // equal an application path plus one of its virtual-directory paths. physicalPath gets that
    // directory's folder with environment references expanded. Throws std::bad_alloc when a BSTR
    // cannot be allocated.
    bool GetPhysicalPath(const std::wstring& metabasePath, const std::wstring& path,
                         std::wstring& physicalPath) override;
    // Walks urlPath with one GetPhysicalPath per prefix; any exception gives false.
    bool GetSitePhysicalPath(std::int32_t siteId, const std::wstring& urlPath, std::wstring& physicalPath) override;

private:
    Framework::ComPtr<IAppHostAdminManager> manager_;
};

}
