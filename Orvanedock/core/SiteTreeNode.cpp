#include "SiteTreeNode.h"

#include "SiteNodeType.h"
#include "SiteSearchStrategy.h"

namespace Orvane::Orvanedock {

SiteTreeNode::SiteTreeNode(SiteTreeContext& context)
    : item_(SiteItem::Make(kRootName, kRootMetabasePath, std::wstring(), kNodeRoot)), parent_(nullptr),
      context_(context)
{
}

SiteTreeNode::SiteTreeNode(std::unique_ptr<SiteItem> item, SiteTreeNode* parent, SiteTreeContext& context)
    : item_(std::move(item)), parent_(parent), context_(context)
{
}

SiteTreeNode::~SiteTreeNode()
{
    // Children first, then the record.
    children_.clear();
}

bool SiteTreeNode::AddChild(const std::wstring& name, const std::wstring& metabasePath,
                            const std::wstring& physicalPath, int nodeType)
{
    std::unique_ptr<SiteItem> item = SiteItem::Make(name, metabasePath, physicalPath, nodeType);
    if (!item)
        return false;
    children_.push_back(std::make_unique<SiteTreeNode>(std::move(item), this, context_));
    return true;
}

TreeItem SiteTreeNode::Insert()
{
    if (treeItem_ || !context_.tree)
        return treeItem_;
    TreeItem parentItem = parent_ ? parent_->treeItem_ : nullptr;
    treeItem_ = context_.tree->AddTreeItem(parentItem, item_->name.c_str(), ImageIndex(), true);
    if (treeItem_)
        placeholder_ = context_.tree->AddTreeItem(treeItem_, kPlaceholderText, 0, false);
    return treeItem_;
}

unsigned SiteTreeNode::Expand()
{
    if (!notExpanded_)
        return static_cast<unsigned>(children_.size());
    children_.clear();
    QueryStrategies();
    if (placeholder_ && context_.tree) {
        context_.tree->RemoveTreeItem(placeholder_);
        placeholder_ = nullptr;
    }
    for (auto& child : children_)
        child->Insert();
    notExpanded_ = false;
    return static_cast<unsigned>(children_.size());
}

SiteTreeNode* SiteTreeNode::FindByItem(TreeItem item)
{
    if (!item)
        return nullptr;
    if (treeItem_ == item)
        return this;
    for (auto& child : children_) {
        if (SiteTreeNode* found = child->FindByItem(item))
            return found;
    }
    return nullptr;
}

int SiteTreeNode::ImageIndex() const noexcept
{
    return ImageIndexOf(item_->nodeType);
}

void SiteTreeNode::QueryStrategies()
{
    for (Util::IISSiteSearchStrategy* strategy : context_.strategies) {
        if (!strategy || !strategy->available)
            continue;
        if (strategy->Expand(*this) != 0)
            break;
    }
}

}
