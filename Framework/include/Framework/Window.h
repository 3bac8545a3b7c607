#pragma once
// A thin, non-owning wrapper of a window handle.
#include <windows.h>
#include <string>

namespace Framework {

// The width and height of a child window from its creation until its parent's layout places it.
constexpr int kUnplacedChildSize = 100;

class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow() noexcept = default;
    CWindow(HWND window) noexcept : m_hWnd(window) {}
    CWindow& operator=(HWND window) noexcept
    {
        m_hWnd = window;
        return *this;
    }
    operator HWND() const noexcept { return m_hWnd; }

    void Attach(HWND window) noexcept { m_hWnd = window; }
    HWND Detach() noexcept
    {
        HWND window = m_hWnd;
        m_hWnd = nullptr;
        return window;
    }

    bool IsWindow() const noexcept { return m_hWnd && ::IsWindow(m_hWnd); }
    bool DestroyWindow()
    {
        if (!m_hWnd || !::DestroyWindow(m_hWnd))
            return false;
        m_hWnd = nullptr;
        return true;
    }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, msg, wParam, lParam);
    }
    bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, msg, wParam, lParam) != FALSE;
    }

    HWND GetParent() const noexcept { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const noexcept { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const noexcept { return ::GetDlgCtrlID(m_hWnd); }
    DWORD GetStyle() const noexcept { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const noexcept { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }

    bool SetWindowText(const wchar_t* text) const { return ::SetWindowTextW(m_hWnd, text) != FALSE; }
    std::wstring GetWindowText() const
    {
        int length = ::GetWindowTextLengthW(m_hWnd);
        if (length <= 0)
            return std::wstring();
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        int copied = ::GetWindowTextW(m_hWnd, &text[0], length + 1);
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }

    bool ShowWindow(int command) const noexcept { return ::ShowWindow(m_hWnd, command) != FALSE; }
    bool IsWindowVisible() const noexcept { return ::IsWindowVisible(m_hWnd) != FALSE; }
    bool EnableWindow(bool enable) const noexcept { return ::EnableWindow(m_hWnd, enable) != FALSE; }
    HWND SetFocus() const noexcept { return ::SetFocus(m_hWnd); }
    bool GetClientRect(RECT* rect) const noexcept { return ::GetClientRect(m_hWnd, rect) != FALSE; }
    bool GetWindowRect(RECT* rect) const noexcept { return ::GetWindowRect(m_hWnd, rect) != FALSE; }
    bool SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) const noexcept
    {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags) != FALSE;
    }
    bool Invalidate(bool erase = true) const noexcept { return ::InvalidateRect(m_hWnd, nullptr, erase) != FALSE; }
    void SetRedraw(bool redraw) const { SendMessage(WM_SETREDRAW, redraw ? TRUE : FALSE); }
    void SetFont(HFONT font, bool redraw = true) const
    {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), MAKELPARAM(redraw ? TRUE : FALSE, 0));
    }
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    int MessageBox(const wchar_t* text, const wchar_t* caption, UINT type) const
    {
        return ::MessageBoxW(m_hWnd, text, caption, type);
    }
};

}
