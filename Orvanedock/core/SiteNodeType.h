#pragma once
// The kinds of site tree entries. They are bits, so that an extension's set of node types is a
// mask that is and-ed with a node's type.
namespace Orvane::Orvanedock {

enum SiteNodeType : int {
    kNodeRoot = 4,
    kNodeWebSite = 8,
    kNodeVirtualDirectory = 16,
    kNodeApplication = 32,
    kNodePhysicalDirectory = 64,
};

// The image of a node type in the tree's image list; unknown types get the plain folder.
int ImageIndexOf(int nodeType) noexcept;

}
