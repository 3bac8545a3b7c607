#include "Framework/Splitter.h"

#include <windowsx.h>

namespace Framework {

void CSplitterWindow::SetSplitterPane(int pane, HWND window, bool update)
{
    if (pane != kLeftPane && pane != kRightPane)
        return;
    panes_[pane] = window;
    if (update)
        UpdateSplitterLayout();
}

void CSplitterWindow::SetSplitterPanes(HWND left, HWND right, bool update)
{
    panes_[kLeftPane] = left;
    panes_[kRightPane] = right;
    if (update)
        UpdateSplitterLayout();
}

HWND CSplitterWindow::GetSplitterPane(int pane) const noexcept
{
    return (pane == kLeftPane || pane == kRightPane) ? panes_[pane] : nullptr;
}

int CSplitterWindow::ClientWidth() const noexcept
{
    RECT client{};
    if (!m_hWnd || !::GetClientRect(m_hWnd, &client))
        return -1;
    return client.right - client.left;
}

int CSplitterWindow::SetSplitterPos(int position, bool update)
{
    if (position < 0)
        position = 0;
    int width = ClientWidth();
    if (width >= 0 && position > width - barWidth_)
        position = width > barWidth_ ? width - barWidth_ : 0;
    position_ = position;
    if (update)
        UpdateSplitterLayout();
    return position_;
}

DWORD CSplitterWindow::SetSplitterExtendedStyle(DWORD style) noexcept
{
    DWORD previous = extendedStyle_;
    extendedStyle_ = style;
    return previous;
}

void CSplitterWindow::UpdateSplitterLayout()
{
    if (!m_hWnd)
        return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int height = client.bottom - client.top;
    int rightLeft = position_ + barWidth_;
    int rightWidth = client.right - rightLeft;
    if (rightWidth < 0)
        rightWidth = 0;
    if (panes_[kLeftPane])
        ::SetWindowPos(panes_[kLeftPane], nullptr, 0, 0, position_, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (panes_[kRightPane])
        ::SetWindowPos(panes_[kRightPane], nullptr, rightLeft, 0, rightWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CSplitterWindow::OnSize(UINT, WPARAM wParam, LPARAM lParam, bool&)
{
    if (wParam == SIZE_MINIMIZED)
        return 0;
    const int width = LOWORD(lParam);
    if ((extendedStyle_ & SPLIT_PROPORTIONAL) && lastWidth_ > 0 && width > 0)
        position_ = MulDiv(position_, width, lastWidth_);
    lastWidth_ = width;
    SetSplitterPos(position_, true);
    return 0;
}

bool CSplitterWindow::IsOverBar(int x) const noexcept
{
    return x >= position_ && x < position_ + barWidth_;
}

LRESULT CSplitterWindow::OnSetCursor(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    POINT point{};
    if (reinterpret_cast<HWND>(wParam) == m_hWnd && ::GetCursorPos(&point) && ::ScreenToClient(m_hWnd, &point) &&
        IsOverBar(point.x)) {
        ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
        return TRUE;
    }
    handled = false;
    return 0;
}

LRESULT CSplitterWindow::OnLButtonDown(UINT, WPARAM, LPARAM lParam, bool&)
{
    const int x = GET_X_LPARAM(lParam);
    if (IsOverBar(x)) {
        dragging_ = true;
        dragOffset_ = x - position_;
        ::SetCapture(m_hWnd);
    }
    return 0;
}

LRESULT CSplitterWindow::OnMouseMove(UINT, WPARAM, LPARAM lParam, bool&)
{
    if (dragging_)
        SetSplitterPos(GET_X_LPARAM(lParam) - dragOffset_, true);
    return 0;
}

LRESULT CSplitterWindow::OnLButtonUp(UINT, WPARAM, LPARAM, bool&)
{
    if (dragging_) {
        dragging_ = false;
        ::ReleaseCapture();
    }
    return 0;
}

LRESULT CSplitterWindow::OnCaptureChanged(UINT, WPARAM, LPARAM, bool&)
{
    dragging_ = false;
    return 0;
}

LRESULT CSplitterWindow::OnSetFocus(UINT, WPARAM, LPARAM, bool&)
{
    // The focus belongs to a pane, not to the bar.
    HWND pane = panes_[kLeftPane] ? panes_[kLeftPane] : panes_[kRightPane];
    if (pane && ::IsWindow(pane))
        ::SetFocus(pane);
    return 0;
}

LRESULT CSplitterWindow::OnForward(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) {
        handled = false;
        return 0;
    }
    return ::SendMessageW(parent, msg, wParam, lParam);
}

}
