#pragma once
// A static text control turned into a link: drawn underlined in the link colour with a hand
// cursor, and opened with the shell when clicked.
#include "Framework/Handles.h"
#include "Framework/WindowImpl.h"

#include <string>

namespace Framework {

class CHyperLink : public CWindowImplBaseT<CWindow> {
public:
    // The colour of the link text.
    static constexpr COLORREF LinkColor = RGB(0, 0, 255);

    CHyperLink() = default;

    // Subclasses the static control; target is what a click opens (empty: the control's text).
    bool SubclassStatic(HWND control, const std::wstring& target = std::wstring());
    const std::wstring& Target() const noexcept { return target_; }
    // Opens the target with the shell's default verb, without the shell's own error box; false when
    // it cannot be opened.
    bool Navigate() const;

    FW_BEGIN_MSG_MAP(CHyperLink)
        FW_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        FW_MESSAGE_HANDLER(WM_PRINTCLIENT, OnPaint)
        FW_MESSAGE_HANDLER(WM_NCHITTEST, OnHitTest)
        FW_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        FW_MESSAGE_HANDLER(WM_LBUTTONUP, OnClick)
        FW_MESSAGE_HANDLER(WM_SETFONT, OnSetFont)
    FW_END_MSG_MAP()

private:
    LRESULT OnPaint(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnHitTest(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnSetCursor(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnClick(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnSetFont(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);

    void Paint(HDC dc);
    // The control's font, underlined; made on first use and again after WM_SETFONT.
    HFONT LinkFont();

    std::wstring target_;
    ScopedFont linkFont_;
};

}
