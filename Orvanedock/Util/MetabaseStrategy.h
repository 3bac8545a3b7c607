#pragma once
// Sites, virtual directories and folders from the IIS metabase (IMSAdminBaseW). Every operation
// creates its own metabase object and releases it before it returns.
#include "SiteSearchStrategy.h"

namespace Orvane::Util {

class IISSiteSearchStrategyAdminBase : public IISSiteSearchStrategy {
public:
    // Probes the metabase: available when its object can be created.
    explicit IISSiteSearchStrategyAdminBase(IFolderSource& folders);

    int FindSites(SiteTreeNode* node) override;
    int FindVirtualDirectories(SiteTreeNode* node) override;
    int FindDirectories(SiteTreeNode* node, const std::wstring* path) override;
};

}
