#pragma once
// The open dialog of the page's import command: an old-syntax file dialog for ini files.
#include <Framework/FileDialog.h>

namespace Orvane::Quillon {

constexpr const wchar_t* kImportDefaultExtension = L"ini";
constexpr const wchar_t* kImportFileName = L"httpd.ini";
constexpr const wchar_t* kImportFilterDescription = L"Ini files ";
constexpr const wchar_t* kImportFilterPattern = L"*.ini";

class CImportFileDialog : public Framework::FileDialog {
public:
    // No flags of its own; no owner until DoModal, which shows it over the active window.
    CImportFileDialog();
};

}
