#pragma once
// The modal About box (dialog 115): logo on a white band, the module's product version and the
// maker's web address as a link.
#include "resource.h"

#include <Framework/DialogImpl.h>
#include <Framework/HyperLink.h>

namespace Orvane::Quillon {

class CAboutDialog : public Framework::CDialogImpl<CAboutDialog> {
public:
    enum { IDD = IDD_ABOUT };

    // The bottom of the white band in client pixels; a line in the button-shadow colour ends it.
    static constexpr int BandBottom = 77;

    FW_BEGIN_MSG_MAP(CAboutDialog)
        FW_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        FW_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        FW_MESSAGE_HANDLER(WM_PRINTCLIENT, OnPaint)
        FW_COMMAND_ID_HANDLER(IDOK, OnClose)
        FW_COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    FW_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnPaint(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnClose(WORD code, WORD id, HWND control, bool& handled);

    HWND version_ = nullptr;
    Framework::CHyperLink link_;
};

// The product version text of a module's version resource (at most 63 characters), unchanged;
// empty when the module has no readable version resource.
std::wstring ModuleProductVersionText(HMODULE module);

// Shows the About box modally over parent (by default the active window); the dialog's result.
INT_PTR ShowAboutDialog(HWND parent = ::GetActiveWindow());

// Paints the About box's white band into dc: the client area down to CAboutDialog::BandBottom,
// ended by a one-pixel line in the button-shadow colour.
void PaintAboutBand(HWND dialog, HDC dc);

}
