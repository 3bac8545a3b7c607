#pragma once
// The site tree's control: a superclass of the system tree view, and the tree model's view of it.
#include "TreeControl.h"

#include <Framework/TreeView.h>
#include <Framework/WindowImpl.h>

namespace Orvane::Orvanedock {

class CSiteTreeView : public Framework::CWindowImpl<CSiteTreeView, Framework::CTreeViewCtrl>, public ITreeControl {
public:
    FW_DECLARE_WND_SUPERCLASS(L"Orvanedock.SiteTreeView", WC_TREEVIEWW)

    FW_BEGIN_MSG_MAP(CSiteTreeView)
    FW_END_MSG_MAP()

    TreeItem AddTreeItem(TreeItem parent, const wchar_t* text, int image, bool sorted) override
    {
        return InsertItem(text, image, image, parent ? static_cast<HTREEITEM>(parent) : TVI_ROOT,
                          sorted ? TVI_SORT : TVI_LAST);
    }
    bool RemoveTreeItem(TreeItem item) override { return DeleteItem(static_cast<HTREEITEM>(item)); }
};

}
