#pragma once
// Toolbar, rebar and status bar creation, the toolbar's button texts, and the multi-pane
// status bar.
#include "Framework/WindowImpl.h"

#include <commctrl.h>
#include <string>
#include <vector>

namespace Framework {

// Default styles of the bars a frame creates.
constexpr DWORD kSimpleToolBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS |
                                      TBSTYLE_FLAT;
constexpr DWORD kSimpleToolBarPaneStyle = kSimpleToolBarStyle | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
constexpr DWORD kSimpleReBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_VARHEIGHT |
                                    RBS_BANDBORDERS | RBS_AUTOSIZE;
constexpr DWORD kSimpleStatusBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SBARS_SIZEGRIP;
constexpr UINT kToolBarId = 0xE800;
constexpr UINT kStatusBarId = 0xE801;
constexpr UINT kReBarId = 0xE804;
constexpr int kDefaultPaneId = 0;

// A toolbar built from a TOOLBAR resource and the bitmap of the same identifier.
HWND CreateSimpleToolBarCtrl(HWND parent, UINT resourceId, bool initialSeparator = false,
                             DWORD style = kSimpleToolBarPaneStyle, UINT id = kToolBarId);
// A rebar; null (and nothing left behind) when it cannot take its bar information.
HWND CreateSimpleReBarCtrl(HWND parent, DWORD style = kSimpleReBarStyle, UINT id = kReBarId);
// Puts a bar into a new band sized to the bar's buttons, with a chevron.
bool AddSimpleReBarBand(HWND rebar, HWND band, const wchar_t* title = nullptr, bool newRow = false, int cx = 0,
                        bool fullWidthAlways = false);
HWND CreateSimpleStatusBar(HWND parent, const wchar_t* text = L"", DWORD style = kSimpleStatusBarStyle,
                           UINT id = kStatusBarId);

// Gives a toolbar button a text label: mixed buttons, the text added to the toolbar's strings,
// the button marked auto-size and show-text and put back at its place.
bool SetToolBarButtonText(HWND toolbar, int command, const wchar_t* text);

// A status bar with panes named by identifier; the default pane (0) takes the width the others
// leave, each other pane is as wide as its string resource.
class CMultiPaneStatusBarCtrl : public CWindowImpl<CMultiPaneStatusBarCtrl> {
public:
    FW_DECLARE_WND_SUPERCLASS(L"Framework.MultiPaneStatusBar", STATUSCLASSNAMEW)

    bool SetPanes(const int* ids, int count);
    int GetPaneIndex(int id) const;
    bool SetPaneText(int id, const std::wstring& text);
    std::wstring GetPaneText(int id) const;
    void UpdatePanesLayout();

    FW_BEGIN_MSG_MAP(CMultiPaneStatusBarCtrl)
        FW_MESSAGE_HANDLER(WM_SIZE, OnSize)
    FW_END_MSG_MAP()

private:
    LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);

    std::vector<int> ids_;
    std::vector<int> widths_;
};

}
