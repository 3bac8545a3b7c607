#pragma once
// The frame: the site tree on the left of a splitter, and on the right the property pages of the
// maker's extensions for the selected node, or a note that there are none. It is also the page
// callback that the extensions add their pages through.
#include "FrameRules.h"
#include "SiteSearchStrategies.h"
#include "SiteTreeNode.h"
#include "SiteTreeView.h"
#include "SnapinDiscovery.h"
#include "SnapinPropertySheet.h"

#include <Common/SnapinInterfaces.h>
#include <Framework/ComObject.h>
#include <Framework/FrameWindow.h>
#include <Framework/ImageList.h>
#include <Framework/MessageLoop.h>
#include <Framework/Splitter.h>

#include "resource.h"

#include <memory>

namespace Orvane::Orvanedock {

inline constexpr wchar_t kFrameClassName[] = L"Orvanedock Window Class";
inline constexpr int kTreeControlId = 1002;
// Where a sheet is put in the splitter, before the splitter's layout makes it the right pane.
inline constexpr RECT kPageRectangle{200, 0, 700, 435};
inline constexpr wchar_t kNoPropertiesText[] = L"No properties available for this node.";
inline constexpr wchar_t kNoExtensionsText[] = L"Orvane IIS Extensions not found";
inline constexpr wchar_t kProgramCaption[] = L"Orvanedock";

class CMainFrame : public Framework::CFrameWindowImpl<CMainFrame>,
                   public Framework::CMessageFilter,
                   public Framework::CIdleHandler,
                   public Framework::UncountedComObject<CMainFrame, IPropertySheetCallback> {
public:
    enum { kFrameResourceId = IDR_MAINFRAME };
    static Framework::CWndClassInfo& GetWndClassInfo()
    {
        static Framework::CWndClassInfo info(kFrameClassName, 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        return info;
    }

    CMainFrame() = default;
    ~CMainFrame();

    bool PreTranslateMessage(MSG* msg) override;
    bool OnIdle() override;

    // The callback is part of the frame and lives as long as it.
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;
    // The pages go into the current sheet; failure when there is none or it refuses the page.
    HRESULT STDMETHODCALLTYPE AddPage(HPROPSHEETPAGE page) override;
    HRESULT STDMETHODCALLTYPE RemovePage(HPROPSHEETPAGE page) override;

    FW_BEGIN_MSG_MAP(CMainFrame)
        FW_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        FW_MESSAGE_HANDLER(WM_SIZE, OnSize)
        FW_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        FW_MESSAGE_HANDLER(Manager::kSheetClosedMessage, OnSheetClosed)
        FW_MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        FW_NOTIFY_HANDLER(kTreeControlId, TVN_SELCHANGEDW, OnSelChanged)
        FW_NOTIFY_HANDLER(kTreeControlId, TVN_ITEMEXPANDINGW, OnItemExpanding)
        FW_CHAIN_MSG_MAP(Framework::CFrameWindowImpl<CMainFrame>)
    FW_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSheetClosed(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, bool&) { return 0; }
    LRESULT OnSelChanged(int, NMHDR*, bool&);
    LRESULT OnItemExpanding(int, NMHDR*, bool&);

    void FillTree();
    void SetTitle(const std::wstring* nodeName);
    void DropSheet();
    void SelectRoot();
    void ShowNoProperties();

    Framework::CSplitterWindow splitter_;
    CSiteTreeView tree_;
    Framework::ScopedImageList images_;
    // The window shows them until it is destroyed, before the frame object ends.
    Framework::ScopedIcon bigIcon_;
    Framework::ScopedIcon smallIcon_;
    std::unique_ptr<Manager::CSnapinPropertySheet> sheet_;
    Framework::CWindow noProperties_;
    Util::SiteSearchStrategies strategies_;
    SiteTreeContext treeContext_;
    std::unique_ptr<SiteTreeNode> root_;
    Manager::SnapinList snapins_;
    RECT pageRectangle_ = kPageRectangle;
    HTREEITEM rootItem_ = nullptr;
    bool sheetDeletable_ = true;
    SplitterState splitterState_{kTreePaneWidth, -1};
};

}
