#pragma once
// The IIS metabase as an IAdminBase.
#include "AdminBase.h"

#include <Common/AppHostAdmin.h>
#include <Framework/Handles.h>

namespace Orvane::Metabase {

class CMBAdminObject : public IAdminBase {
public:
    // Creates the metabase object; throws Exceptions::CreateComObjectError when it cannot.
    CMBAdminObject();
    ~CMBAdminObject() override;

    // metabasePath: the key to open; path: relative to it, whose own virtual-root path is read.
    // False with physicalPath untouched when the key cannot be opened.
    bool GetPhysicalPath(const std::wstring& metabasePath, const std::wstring& path,
                         std::wstring& physicalPath) override;
    // Walks urlPath below "/LM/W3SVC/<siteId>/ROOT/". False with physicalPath untouched when that
    // key cannot be opened.
    bool GetSitePhysicalPath(std::int32_t siteId, const std::wstring& urlPath, std::wstring& physicalPath) override;

private:
    Framework::ComPtr<IMSAdminBaseW> admin_;
};

}
