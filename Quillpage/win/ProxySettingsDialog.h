#pragma once
// The modal proxy settings dialog (dialog 140) on one configuration file: shows the file's three
// time-outs in seconds and the suppress-errors switch, and on OK writes them back as the file's
// Orvane section, replacing the file whole or not at all.
#include "FileText.h"
#include "resource.h"

#include <Framework/DialogImpl.h>
#include <RewriteConfig/Htaccess.h>

#include <string>

namespace Orvane { namespace Quillon {

class ProxySettingsDialog : public Framework::CDialogImpl<ProxySettingsDialog> {
public:
    enum { IDD = IDD_PROXY_SETTINGS };

    // Keeps the path and loads the file's settings (the defaults for a missing file).
    explicit ProxySettingsDialog(const std::wstring& path);

    // False when the file is there but could not be read: its settings are not known, so the dialog
    // is not to be shown (its defaults would replace them).
    bool SettingsKnown() const noexcept { return loaded_ != FileReadResult::Unreadable; }

    FW_BEGIN_MSG_MAP(ProxySettingsDialog)
        FW_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        FW_COMMAND_HANDLER(IDOK, BN_CLICKED, OnOK)
        FW_COMMAND_HANDLER(IDCANCEL, BN_CLICKED, OnCancel)
    FW_END_MSG_MAP()

    const ProxySettings& Settings() const noexcept { return htaccess_.proxySettings; }

private:
    LRESULT OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnOK(WORD code, WORD id, HWND control, bool& handled);
    LRESULT OnCancel(WORD code, WORD id, HWND control, bool& handled);

    // Reads a time-out field; false (after telling the user) when it is out of range.
    bool ReadTimeout(HWND field, std::int32_t& milliseconds);

    std::wstring path_;
    Htaccess htaccess_;
    FileReadResult loaded_;
    HWND connectTimeout_ = nullptr;
    HWND receiveTimeout_ = nullptr;
    HWND sendTimeout_ = nullptr;
    HWND suppressErrors_ = nullptr;
};

}}
