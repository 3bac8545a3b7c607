#pragma once
// A thin wrapper of a tree-view control ("SysTreeView32").
#include "Framework/Window.h"

#include <commctrl.h>
#include <string>

namespace Framework {

class CTreeViewCtrl : public CWindow {
public:
    CTreeViewCtrl() noexcept = default;
    CTreeViewCtrl(HWND window) noexcept : CWindow(window) {}

    // An item with text and image; null on failure.
    HTREEITEM InsertItem(const wchar_t* text, int image, int selectedImage, HTREEITEM parent,
                         HTREEITEM insertAfter) const
    {
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = insertAfter;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = const_cast<wchar_t*>(text);
        insert.item.iImage = image;
        insert.item.iSelectedImage = selectedImage;
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    bool DeleteItem(HTREEITEM item) const
    {
        return SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != FALSE;
    }
    bool Expand(HTREEITEM item, UINT action = TVE_EXPAND) const
    {
        return SendMessage(TVM_EXPAND, action, reinterpret_cast<LPARAM>(item)) != FALSE;
    }
    bool SelectItem(HTREEITEM item) const
    {
        return SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != FALSE;
    }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
    // The item's text, of any length the control keeps.
    std::wstring GetItemText(HTREEITEM item) const
    {
        std::wstring text(260, L'\0');
        for (;;) {
            TVITEMW query{};
            query.mask = TVIF_TEXT;
            query.hItem = item;
            query.pszText = &text[0];
            query.cchTextMax = static_cast<int>(text.size());
            if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&query)))
                return std::wstring();
            size_t length = std::wstring::traits_type::length(text.c_str());
            if (length + 1 < text.size() || text.size() >= 65536) {
                text.resize(length);
                return text;
            }
            text.assign(text.size() * 2, L'\0');
        }
    }
    HIMAGELIST SetImageList(HIMAGELIST list, int kind = TVSIL_NORMAL) const
    {
        return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, kind, reinterpret_cast<LPARAM>(list)));
    }
};

}
