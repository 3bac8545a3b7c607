#pragma once
// A node of the site tree: its record, its children in the order the strategies found them, and
// its item in the tree control. Children are fetched from the strategies on the first expansion
// and never again; until then a "temp" child gives the item its expand button.
#include "SiteItem.h"
#include "TreeControl.h"

#include <memory>
#include <string>
#include <vector>

namespace Orvane::Util {
class IISSiteSearchStrategy;
}

namespace Orvane::Orvanedock {

// What every node of one tree shares: the control and the strategies in the order they are asked.
struct SiteTreeContext {
    ITreeControl* tree = nullptr;
    std::vector<Util::IISSiteSearchStrategy*> strategies;
};

class SiteTreeNode {
public:
    static constexpr const wchar_t* kRootName = L"IIS Web Sites";
    static constexpr const wchar_t* kRootMetabasePath = L"/LM/W3SVC/";
    static constexpr const wchar_t* kPlaceholderText = L"temp";

    // The root node: "IIS Web Sites" at the server level.
    explicit SiteTreeNode(SiteTreeContext& context);
    SiteTreeNode(std::unique_ptr<SiteItem> item, SiteTreeNode* parent, SiteTreeContext& context);
    ~SiteTreeNode();
    SiteTreeNode(const SiteTreeNode&) = delete;
    SiteTreeNode& operator=(const SiteTreeNode&) = delete;

    // Adds a child for the entry; false (nothing added) when its paths do not fit the record.
    bool AddChild(const std::wstring& name, const std::wstring& metabasePath, const std::wstring& physicalPath,
                  int nodeType);

    // Puts the node into the control once, with its placeholder; its item.
    TreeItem Insert();
    // Fills the children on the first call; the number of children.
    unsigned Expand();
    // This node or a descendant whose tree item is item; null for none (and for a null item).
    SiteTreeNode* FindByItem(TreeItem item);
    int ImageIndex() const noexcept;
    // Asks the strategies in order, skipping unavailable ones, until one reports children.
    void QueryStrategies();

    const SiteItem& Item() const noexcept { return *item_; }
    const std::vector<std::unique_ptr<SiteTreeNode>>& Children() const noexcept { return children_; }
    TreeItem GetTreeItem() const noexcept { return treeItem_; }
    bool NotExpanded() const noexcept { return notExpanded_; }

private:
    std::unique_ptr<SiteItem> item_;
    SiteTreeNode* parent_;
    std::vector<std::unique_ptr<SiteTreeNode>> children_;
    SiteTreeContext& context_;
    TreeItem treeItem_ = nullptr;
    TreeItem placeholder_ = nullptr;
    bool notExpanded_ = true;
};

}
