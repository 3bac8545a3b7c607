#include "ErrorDialog.h"

#include "RewriteConfig/Platform.h"

namespace Quillpen {

LRESULT ErrorDialog::OnInitDialog(UINT, WPARAM, LPARAM, bool&)
{
    m_text = GetDlgItem(IDC_ERROR_TEXT);
    std::wstring text = Orvane::Quillon::Platform::AnsiToWide(m_errors);
    ::SetWindowTextW(m_text, text.c_str());
    HICON warning = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_WARNING));
    ::SendDlgItemMessageW(m_hWnd, IDC_WARNING_ICON, STM_SETICON, reinterpret_cast<WPARAM>(warning), 0);
    // TRUE: the dialog manager gives the focus to the first control that takes it.
    return TRUE;
}

LRESULT ErrorDialog::OnOk(WORD, WORD, HWND, bool&)
{
    EndDialog(1);
    return 0;
}

}
