#pragma once
// The system's open and save dialogs. In the old-syntax form (the default) the structure has the
// size of the old syntax (the fields that later system versions added left out) so that every
// system shows it, the framework's own hook is installed and the dialog is resizable; in the
// platform form the system shows its own current dialog.
#include <windows.h>
#include <commdlg.h>

#include <cstddef>
#include <string>
#include <vector>

namespace Framework {

class FileDialog {
public:
    // One filter: its description and its pattern ("*.ini").
    struct Filter {
        std::wstring description;
        std::wstring pattern;
    };

    // OldSyntax: the structure of kStructureSize, the framework's hook and flags, and a file-name
    // buffer of kFileNameChars. Platform: the whole structure and the caller's flags alone, without a
    // hook (with one the system keeps the older look), and a file-name buffer of kLongFileNameChars.
    enum class Form { OldSyntax, Platform };

    // OPENFILENAME_SIZE_VERSION_400W as a constant expression: the structure up to lpTemplateName.
    static constexpr DWORD kStructureSize = offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR);
    static constexpr DWORD kFileNameChars = 260;
    static constexpr DWORD kLongFileNameChars = 32768;
    static constexpr DWORD kFileTitleChars = 256;
    // What the framework adds to the caller's flags in the old-syntax form.
    static constexpr DWORD kFrameworkFlags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_ENABLESIZING;

    // open: an open dialog, else a save dialog. defaultExtension without the dot; fileName is the
    // initial name (cut to the buffer). No owner until DoModal.
    FileDialog(bool open, const std::wstring& defaultExtension, const std::wstring& fileName, DWORD flags,
               const std::vector<Filter>& filters, Form form = Form::OldSyntax);
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    // Shows the dialog modally over owner (the active window when null); IDOK when a file was
    // chosen, IDCANCEL when cancelled or when the dialog could not be shown (Error() then says why).
    INT_PTR DoModal(HWND owner = nullptr);

    // The chosen file's full path, and its name alone.
    std::wstring FileName() const { return fileName_.data(); }
    std::wstring FileTitle() const { return fileTitle_.data(); }
    // CommDlgExtendedError of the last DoModal; 0 after a choice or a cancel.
    DWORD Error() const noexcept { return error_; }
    const OPENFILENAMEW& Structure() const noexcept { return ofn_; }

private:
    static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool open_;
    std::wstring defaultExtension_;
    std::vector<wchar_t> filter_;
    std::vector<wchar_t> fileName_;
    std::vector<wchar_t> fileTitle_;
    OPENFILENAMEW ofn_;
    DWORD error_ = 0;
};

}
