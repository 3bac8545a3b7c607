#include "AboutDialog.h"

#include "ModuleText.h"

#include <Common/ModuleVersionInfo.h>
#include <Framework/Module.h>
#include <Framework/Handles.h>
#include <Framework/Resources.h>

namespace Orvane::Quillon {

namespace {

// The product version text has at most 63 characters.
constexpr size_t kVersionCapacity = 64;

}

std::wstring ModuleProductVersionText(HMODULE module)
{
    ModuleVersionInfo info;
    info.Load(module);
    wchar_t text[kVersionCapacity] = {};
    if (!info.QueryValue(L"ProductVersion", text, kVersionCapacity))
        return std::wstring();
    return text;
}

void PaintAboutBand(HWND dialog, HDC dc)
{
    RECT band{};
    ::GetClientRect(dialog, &band);
    band.bottom = CAboutDialog::BandBottom;
    Framework::ScopedPen line(::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)));
    {
        Framework::SelectedObject brush(dc, ::GetStockObject(WHITE_BRUSH));
        Framework::SelectedObject pen(dc, ::GetStockObject(WHITE_PEN));
        ::Rectangle(dc, band.left, band.top, band.right, band.bottom);
    }
    if (line) {
        Framework::SelectedObject pen(dc, line.Get());
        ::MoveToEx(dc, band.left, band.bottom, nullptr);
        ::LineTo(dc, band.right, band.bottom);
    }
}

LRESULT CAboutDialog::OnInitDialog(UINT, WPARAM, LPARAM, bool&)
{
    version_ = GetDlgItem(IDC_ABOUT_VERSION);
    // Without a readable version resource the template's text stays.
    const std::wstring version = ModuleProductVersionText(Framework::Module().GetModuleInstance());
    if (version_ && !version.empty())
        ::SetWindowTextW(version_, version.c_str());
    if (HWND link = GetDlgItem(IDC_ABOUT_HYPERLINK))
        link_.SubclassStatic(link, ModuleString(IDS_WEB_ADDRESS));
    return TRUE;
}

LRESULT CAboutDialog::OnPaint(UINT msg, WPARAM wParam, LPARAM, bool&)
{
    // WM_PRINTCLIENT, and a WM_PAINT that brings its own device context, paint into that context.
    if (wParam) {
        PaintAboutBand(m_hWnd, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    if (msg == WM_PRINTCLIENT)
        return 0;
    Framework::PaintDC dc(m_hWnd);
    if (dc)
        PaintAboutBand(m_hWnd, dc.Get());
    return 0;
}

LRESULT CAboutDialog::OnClose(WORD, WORD id, HWND, bool&)
{
    EndDialog(id == IDOK ? 1 : id);
    return 0;
}

INT_PTR ShowAboutDialog(HWND parent)
{
    try {
        CAboutDialog dialog;
        return dialog.DoModal(parent);
    } catch (...) {
        return -1;
    }
}

}
