#include "ProxySettingsDialog.h"

#include "ConfigLoading.h"
#include "FileText.h"
#include "ModuleText.h"
#include "ProxySection.h"

#include <optional>
#include <string>

namespace Orvane { namespace Quillon {

ProxySettingsDialog::ProxySettingsDialog(const std::wstring& path)
    : path_(path), htaccess_(path), loaded_(LoadConfigurationFile(htaccess_))
{
}

LRESULT ProxySettingsDialog::OnInitDialog(UINT, WPARAM, LPARAM, bool&)
{
    connectTimeout_ = GetDlgItem(IDC_CONNECT_TIMEOUT);
    receiveTimeout_ = GetDlgItem(IDC_RECEIVE_TIMEOUT);
    sendTimeout_ = GetDlgItem(IDC_SEND_TIMEOUT);
    suppressErrors_ = GetDlgItem(IDC_SUPPRESS_ERRORS);
    const ProxySettings& settings = htaccess_.proxySettings;
    ::SetWindowTextW(connectTimeout_, TimeoutSecondsText(settings.connectTimeout).c_str());
    ::SetWindowTextW(receiveTimeout_, TimeoutSecondsText(settings.receiveTimeout).c_str());
    ::SetWindowTextW(sendTimeout_, TimeoutSecondsText(settings.sendTimeout).c_str());
    ::SendMessageW(suppressErrors_, BM_SETCHECK, static_cast<WPARAM>(settings.suppressErrors), 0);
    return TRUE;
}

bool ProxySettingsDialog::ReadTimeout(HWND field, std::int32_t& milliseconds)
{
    if (ParseTimeoutSeconds(Framework::CWindow(field).GetWindowText(), milliseconds) == TimeoutEntry::Accepted)
        return true;
    ShowModuleError(m_hWnd, IDS_PROXY_OUT_OF_RANGE);
    ::SetFocus(field);
    ::SendMessageW(field, EM_SETSEL, 0, -1);
    return false;
}

LRESULT ProxySettingsDialog::OnOK(WORD, WORD, HWND, bool&)
{
    ProxySettings settings = htaccess_.proxySettings;
    if (!ReadTimeout(connectTimeout_, settings.connectTimeout) || !ReadTimeout(receiveTimeout_, settings.receiveTimeout) ||
        !ReadTimeout(sendTimeout_, settings.sendTimeout))
        return 0;
    settings.suppressErrors = ::SendMessageW(suppressErrors_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;

    // The file as it is now, not as the dialog found it; only a missing file counts as empty.
    std::string text;
    if (ReadWholeFileBytes(path_, text) == FileReadResult::Unreadable) {
        ShowModuleError(m_hWnd, IDS_PROXY_UNREADABLE);
        return 0;
    }
    const std::optional<std::string> rewritten = ReplaceProxySection(text, settings);
    if (!rewritten) {
        ShowModuleError(m_hWnd, IDS_PROXY_NOT_REWRITABLE);
        return 0;
    }
    // Replaced whole or not at all: a failed write keeps the old file.
    if (!WriteWholeFile(path_, *rewritten)) {
        ShowModuleError(m_hWnd, IDS_PROXY_UNWRITTEN);
        return 0;
    }
    htaccess_.proxySettings = settings;
    EndDialog(IDOK);
    return 0;
}

LRESULT ProxySettingsDialog::OnCancel(WORD, WORD, HWND, bool&)
{
    EndDialog(IDCANCEL);
    return 0;
}

}}
