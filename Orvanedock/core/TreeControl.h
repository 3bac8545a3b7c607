#pragma once
// What the site tree model needs of a tree control: items inserted under a parent and deleted.
namespace Orvane::Orvanedock {

// An item of the control; null is "no item" and, as a parent, the control's top level.
using TreeItem = void*;

class ITreeControl {
public:
    // The new item, or null on failure. sorted: among its siblings by text, else last.
    virtual TreeItem AddTreeItem(TreeItem parent, const wchar_t* text, int image, bool sorted) = 0;
    virtual bool RemoveTreeItem(TreeItem item) = 0;

protected:
    ~ITreeControl() = default;
};

}
