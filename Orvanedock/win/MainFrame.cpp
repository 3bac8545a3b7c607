#include "MainFrame.h"

#include "SnapinLoader.h"

#include <Framework/Module.h>
#include <Framework/Resources.h>
#include <Framework/WindowPlacement.h>

namespace Orvane::Orvanedock {

namespace {

constexpr int kFrameWidth = 700;
constexpr int kFrameHeight = 450;
constexpr DWORD kPaneStyles = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
constexpr DWORD kTreeStyles = TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | WS_TABSTOP;
constexpr DWORD kNoPropertiesStyle = WS_CHILD | WS_VISIBLE | ES_READONLY | ES_CENTER;
constexpr COLORREF kImageMask = RGB(255, 0, 255);
constexpr int kSiteImageWidth = 16;

}

CMainFrame::~CMainFrame()
{
    strategies_.Destroy();
    treeContext_.strategies.clear();
    root_.reset();
    DropSheet();
    snapins_.Clear();
}

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, bool&)
{
    splitterState_ = SplitterState{kTreePaneWidth, -1};
    sheetDeletable_ = true;

    if (Framework::CMessageLoop* loop = Framework::Module().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }

    SetWindowPos(nullptr, 0, 0, kFrameWidth, kFrameHeight, 0);
    Framework::CenterOnWorkArea(m_hWnd);
    bigIcon_.Reset(Framework::LoadIconOfSize(IDI_ORVANEDOCK, SM_CXICON, SM_CYICON));
    smallIcon_.Reset(Framework::LoadIconOfSize(IDI_ORVANEDOCK, SM_CXSMICON, SM_CYSMICON));
    if (bigIcon_)
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    if (smallIcon_)
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));

    if (!splitter_.Create(m_hWnd, nullptr, nullptr, kPaneStyles))
        return -1;
    splitter_.SetSplitterExtendedStyle(0);

    if (!tree_.Create(splitter_, nullptr, nullptr, kPaneStyles, WS_EX_CLIENTEDGE))
        return -1;
    ::SetWindowLongW(tree_, GWL_ID, kTreeControlId);
    ::SetWindowLongW(tree_, GWL_STYLE, static_cast<LONG>(tree_.GetStyle() | kTreeStyles));

    pageRectangle_ = kPageRectangle;
    sheet_.reset();

    const HINSTANCE resources = Framework::Module().GetResourceInstance();
    noProperties_ = ::CreateWindowExW(0, L"EDIT", kNoPropertiesText, kNoPropertiesStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, splitter_, nullptr, resources, nullptr);
    if (noProperties_)
        noProperties_.ShowWindow(SW_HIDE);

    m_hWndClient = splitter_;
    splitter_.SetSplitterPanes(tree_, nullptr, false);
    splitter_.UpdateSplitterLayout();
    UpdateLayout(m_hWnd);
    splitter_.SetSplitterPos(kTreePaneWidth);

    images_.Reset(::ImageList_LoadImageW(resources, MAKEINTRESOURCEW(IDB_SITE_IMAGES), kSiteImageWidth, 0, kImageMask,
                                         IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (!images_)
        return 0; // an empty tree and nothing else

    if (Manager::DiscoverSnapins(snapins_) == 0)
        ::MessageBoxW(nullptr, kNoExtensionsText, kProgramCaption, MB_ICONWARNING);

    FillTree();
    tree_.SetFocus();
    return 0;
}

void CMainFrame::FillTree()
{
    tree_.SetImageList(images_.Get(), TVSIL_NORMAL);
    strategies_.Create();
    treeContext_.tree = &tree_;
    treeContext_.strategies = strategies_.List();
    root_ = std::make_unique<SiteTreeNode>(treeContext_);
    rootItem_ = static_cast<HTREEITEM>(root_->Insert());
    root_->Expand();
    tree_.Expand(rootItem_, TVE_EXPAND);
    SelectRoot();
}

void CMainFrame::SelectRoot()
{
    tree_.SelectItem(rootItem_);
    tree_.SetFocus();
}

LRESULT CMainFrame::OnSize(UINT, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = false; // the frame's own sizing runs as well
    UpdateLayout(m_hWnd);
    if (wParam != SIZE_RESTORED && wParam != SIZE_MAXIMIZED)
        return 0;
    const int width = LOWORD(lParam);
    SplitterState state{splitter_.m_hWnd ? splitter_.GetSplitterPos() : splitterState_.position, splitterState_.lastWidth};
    SplitterState next = ResizeSplitter(state, width);
    if (splitter_.m_hWnd && next.position != state.position)
        splitter_.SetSplitterPos(next.position);
    splitterState_ = next;
    return 0;
}

LRESULT CMainFrame::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool&)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize.x = kFrameWidth;
    info->ptMinTrackSize.y = kFrameHeight;
    return 0;
}

void CMainFrame::SetTitle(const std::wstring* nodeName)
{
    SetWindowText(FrameTitle(Framework::LoadResourceString(IDR_MAINFRAME), nodeName).c_str());
}

void CMainFrame::DropSheet()
{
    if (sheet_ && sheetDeletable_)
        sheet_.reset();
}

void CMainFrame::ShowNoProperties()
{
    if (!noProperties_)
        return;
    noProperties_.ShowWindow(SW_SHOW);
    splitter_.SetSplitterPane(Framework::CSplitterWindow::kRightPane, noProperties_, false);
}

LRESULT CMainFrame::OnSelChanged(int, NMHDR* header, bool&)
{
    auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
    SiteTreeNode* node = root_ ? root_->FindByItem(change->itemNew.hItem) : nullptr;

    splitter_.SetSplitterPane(Framework::CSplitterWindow::kRightPane, nullptr, true);
    if (noProperties_)
        noProperties_.ShowWindow(SW_HIDE);
    DropSheet();
    SetTitle(nullptr);
    if (!node || snapins_.Count() == 0)
        return 0;

    sheet_ = std::make_unique<Manager::CSnapinPropertySheet>();
    const int loaded = Manager::LoadSnapins(*node, snapins_, this);
    HWND sheetWindow = loaded > 0 ? sheet_->Create(splitter_) : nullptr;
    if (!sheetWindow) {
        // No extension added pages, or the sheet could not be made of them.
        ShowNoProperties();
    } else {
        SetTitle(&node->Item().name);
        sheet_->PlaceInPane(splitter_, pageRectangle_);
        sheet_->SetNotifyWindow(m_hWnd);
        splitter_.SetSplitterPane(Framework::CSplitterWindow::kRightPane, sheetWindow, false);
    }
    splitter_.UpdateSplitterLayout();
    UpdateLayout(m_hWnd);
    return 0;
}

LRESULT CMainFrame::OnItemExpanding(int, NMHDR* header, bool&)
{
    auto* change = reinterpret_cast<NMTREEVIEWW*>(header);
    SiteTreeNode* node = root_ ? root_->FindByItem(change->itemNew.hItem) : nullptr;
    if (node && node != root_.get() && change->action == TVE_EXPAND)
        node->Expand();
    return 0; // the control always goes on with the expansion
}

LRESULT CMainFrame::OnSheetClosed(UINT, WPARAM wParam, LPARAM, bool&)
{
    // The late end of a sheet that a new selection has replaced leaves the new one alone.
    if (!sheet_ || wParam != sheet_->Serial())
        return 0;
    splitter_.SetSplitterPane(Framework::CSplitterWindow::kRightPane, nullptr, true);
    sheetDeletable_ = false;
    tree_.SelectItem(nullptr);
    sheetDeletable_ = true;
    return 0;
}

bool CMainFrame::PreTranslateMessage(MSG* msg)
{
    if (m_hAccel && ::TranslateAcceleratorW(m_hWnd, m_hAccel, msg))
        return true;
    return sheet_ && sheet_->IsDialogMessage(msg);
}

bool CMainFrame::OnIdle()
{
    return false;
}

const Framework::InterfaceEntry* CMainFrame::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<CMainFrame, IPropertySheetCallback>(IID_IPropertySheetCallback), {nullptr, nullptr}};
    return table;
}

HRESULT STDMETHODCALLTYPE CMainFrame::AddPage(HPROPSHEETPAGE page)
{
    return sheet_ ? sheet_->AddPage(page) : E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE CMainFrame::RemovePage(HPROPSHEETPAGE page)
{
    return sheet_ ? sheet_->RemovePage(page) : E_UNEXPECTED;
}

}
