#include "Framework/HyperLink.h"

#include <shellapi.h>

namespace Framework {

bool CHyperLink::SubclassStatic(HWND control, const std::wstring& target)
{
    if (!SubclassWindow(control))
        return false;
    target_ = target.empty() ? GetWindowText() : target;
    ::InvalidateRect(control, nullptr, TRUE);
    return true;
}

bool CHyperLink::Navigate() const
{
    if (target_.empty())
        return false;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // Without this flag a target that cannot be opened shows the shell's own modal box.
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = m_hWnd;
    info.lpFile = target_.c_str();
    info.nShow = SW_SHOWNORMAL;
    return ::ShellExecuteExW(&info) != FALSE;
}

HFONT CHyperLink::LinkFont()
{
    if (!linkFont_) {
        HFONT base = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        LOGFONTW description{};
        if (!base || ::GetObjectW(base, sizeof(description), &description) != sizeof(description))
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
        description.lfUnderline = TRUE;
        linkFont_.Reset(::CreateFontIndirectW(&description));
    }
    return linkFont_.Get();
}

void CHyperLink::Paint(HDC dc)
{
    RECT area{};
    ::GetClientRect(m_hWnd, &area);
    // The parent's static colour brush paints the background, as for any static control.
    HWND parent = GetParent();
    auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hWnd)));
    ::FillRect(dc, &area, brush ? brush : ::GetSysColorBrush(COLOR_BTNFACE));

    const std::wstring text = GetWindowText();
    const DWORD style = GetStyle();
    UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format |= DT_CENTER;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT;
        break;
    default:
        format |= DT_LEFT;
        break;
    }
    HFONT font = LinkFont();
    SelectedObject selected(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColor = ::SetTextColor(dc, LinkColor);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
    ::SetTextColor(dc, previousColor);
    ::SetBkMode(dc, previousMode);
}

LRESULT CHyperLink::OnPaint(UINT msg, WPARAM wParam, LPARAM, bool&)
{
    // WM_PRINTCLIENT, and a WM_PAINT that brings its own device context, paint into that context.
    if (wParam) {
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    if (msg == WM_PRINTCLIENT)
        return 0;
    PaintDC dc(m_hWnd);
    if (dc)
        Paint(dc.Get());
    return 0;
}

LRESULT CHyperLink::OnHitTest(UINT, WPARAM, LPARAM, bool&)
{
    // A static control lets the mouse through to its parent; the link takes it itself.
    return HTCLIENT;
}

LRESULT CHyperLink::OnSetCursor(UINT, WPARAM, LPARAM, bool&)
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return TRUE;
}

LRESULT CHyperLink::OnClick(UINT, WPARAM, LPARAM, bool&)
{
    Navigate();
    return 0;
}

LRESULT CHyperLink::OnSetFont(UINT, WPARAM, LPARAM, bool& handled)
{
    linkFont_.Reset();
    handled = false;
    return 0;
}

}
