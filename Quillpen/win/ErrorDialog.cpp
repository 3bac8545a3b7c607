#include "ErrorDialog.h"

#include "RewriteConfig/Platform.h"

namespace Orvane { namespace Quillpen {

LRESULT ErrorDialog::OnInitDialog(UINT, WPARAM, LPARAM, bool&)
{
    text_ = GetDlgItem(IDC_ERROR_TEXT);
    std::wstring text = Orvane::Quillon::Platform::AnsiToWide(errors_);
    ::SetWindowTextW(text_, text.c_str());
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

}}
