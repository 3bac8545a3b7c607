#pragma once
// Window states held for a scope: drawing switched off, the wait cursor shown.
#include <windows.h>

namespace Framework {

// Switches a window's redrawing off for the life of the object and always back on, repainting.
class RedrawSuspension {
public:
    explicit RedrawSuspension(HWND window) noexcept : window_(window) { ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }
    ~RedrawSuspension()
    {
        ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        ::InvalidateRect(window_, nullptr, TRUE);
    }
    RedrawSuspension(const RedrawSuspension&) = delete;
    RedrawSuspension& operator=(const RedrawSuspension&) = delete;

private:
    HWND window_;
};

// Shows the hourglass for the life of the object and puts the previous cursor back.
class WaitCursor {
public:
    WaitCursor() noexcept : previous_(::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)))) {}
    ~WaitCursor() { ::SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

}
