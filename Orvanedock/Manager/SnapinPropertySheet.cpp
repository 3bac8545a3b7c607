#include "SnapinPropertySheet.h"

#include <Framework/Module.h>

namespace Orvane::Manager {

// The sheet header of the first layout with a callback and no later fields.
#ifndef _WIN64
static_assert(sizeof(PROPSHEETHEADERW) == 52, "sheet header size");
#endif

namespace {

// The system's sheet template is a captioned popup; in the pane it is a child without a frame.
constexpr DWORD kPopupStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kChildStyles = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;

// Sheets are made on the UI thread only.
WPARAM NextSerial() noexcept
{
    static WPARAM last = 0;
    return ++last;
}

}

CSnapinPropertySheet::CSnapinPropertySheet() : serial_(NextSerial())
{
    Header().dwFlags = PSH_USECALLBACK;
    Header().hInstance = Framework::Module().GetResourceInstance();
    Header().nStartPage = 0;
}

void CSnapinPropertySheet::PlaceInPane(HWND parent, const RECT& rectangle)
{
    HWND sheet = GetHwnd();
    if (!sheet)
        return;
    ::SetParent(sheet, parent);
    ::SetWindowPos(sheet, nullptr, rectangle.left, rectangle.top, rectangle.right - rectangle.left,
                   rectangle.bottom - rectangle.top, SWP_NOZORDER);
    for (int id : {IDOK, IDCANCEL}) {
        if (HWND button = ::GetDlgItem(sheet, id)) {
            ::ShowWindow(button, SW_HIDE);
            ::EnableWindow(button, FALSE);
        }
    }
}

void CSnapinPropertySheet::OnFinished()
{
    if (notify_)
        ::PostMessageW(notify_, kSheetClosedMessage, serial_, 0);
}

int CSnapinPropertySheet::OnSheetCallback(HWND, UINT message, LPARAM lParam)
{
    // PSCB_BUTTONPRESSED is not sent on every system; the sheet's end is noticed by the framework.
    if (message == PSCB_PRECREATE)
        // Clearing the bits instead of subtracting them keeps a template that lacks one of them intact.
        ChangeTemplateStyle(lParam, kPopupStyles, kChildStyles);
    return 0;
}

}
