#pragma once
// A window split into a left and a right pane by a vertical bar that the user can drag.
// The bar position is the left pane's width. Without the proportional style the bar stays where
// it is when the splitter is resized; with it, it keeps its share of the width. The panes'
// notifications and commands go on to the splitter's parent.
#include "Framework/MessageMap.h"
#include "Framework/WindowImpl.h"

namespace Framework {

enum : DWORD { SPLIT_PROPORTIONAL = 0x0001 };

class CSplitterWindow : public CWindowImpl<CSplitterWindow> {
public:
    FW_DECLARE_WND_CLASS_EX(L"Framework.Splitter", CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1))

    enum { kLeftPane = 0, kRightPane = 1 };

    // A pane may be null (nothing shown there).
    void SetSplitterPane(int pane, HWND window, bool update = true);
    void SetSplitterPanes(HWND left, HWND right, bool update = true);
    HWND GetSplitterPane(int pane) const noexcept;

    // Clamped to 0 .. the width that leaves room for the bar; the stored position afterwards.
    int SetSplitterPos(int position, bool update = true);
    int GetSplitterPos() const noexcept { return position_; }
    int GetBarWidth() const noexcept { return barWidth_; }

    DWORD SetSplitterExtendedStyle(DWORD style) noexcept;

    // Places the panes in the client area.
    void UpdateSplitterLayout();

    FW_BEGIN_MSG_MAP(CSplitterWindow)
        FW_MESSAGE_HANDLER(WM_SIZE, OnSize)
        FW_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        FW_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        FW_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        FW_MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        FW_MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
        FW_MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        FW_MESSAGE_HANDLER(WM_NOTIFY, OnForward)
        FW_MESSAGE_HANDLER(WM_COMMAND, OnForward)
    FW_END_MSG_MAP()

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, bool&);
    // The panes' notifications and commands belong to the splitter's parent.
    LRESULT OnForward(UINT, WPARAM, LPARAM, bool&);

    int ClientWidth() const noexcept;
    bool IsOverBar(int x) const noexcept;

    HWND panes_[2] = {nullptr, nullptr};
    int position_ = 0;
    int barWidth_ = 4;
    int lastWidth_ = -1;
    DWORD extendedStyle_ = SPLIT_PROPORTIONAL;
    bool dragging_ = false;
    int dragOffset_ = 0;
};

}
