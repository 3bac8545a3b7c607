#pragma once
// Creates each discovered extension whose node types include a node's type and has it add its
// pages for the node through the host's page callback.
#include "SnapinDiscovery.h"

#include <Common/SnapinInterfaces.h>

#include <string>

namespace Orvane::Orvanedock {
class SiteTreeNode;
}

namespace Orvane::Util {

// Why one extension was skipped; caught inside the loader.
class SnapinLoaderException {
public:
    static constexpr size_t kMessageMax = 8191;
    explicit SnapinLoaderException(std::wstring message);
    const std::wstring& Message() const noexcept { return message_; }

private:
    std::wstring message_;
};

}

namespace Orvane::Manager {

// The number of extensions whose CreatePropertyPages succeeded for the node. A failing extension
// is skipped silently; the pages it added before failing stay with the callback.
int LoadSnapins(const Orvanedock::SiteTreeNode& node, const SnapinList& list, IPropertySheetCallback* callback);

}
