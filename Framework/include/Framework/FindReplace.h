#pragma once
// The system's modeless Find and Replace dialogs. The owner receives their requests as the
// registered message GetFindReplaceMsg() with the FINDREPLACEW record in lParam. The object holds
// that record and its buffers, so it must outlive the dialog window; Destroy() ends the window.
#include <windows.h>
#include <commdlg.h>
#include <string>

namespace Framework {

class CFindReplaceDialog {
public:
    static constexpr size_t kBufferChars = 128;

    CFindReplaceDialog() = default;
    ~CFindReplaceDialog() { Destroy(); }
    CFindReplaceDialog(const CFindReplaceDialog&) = delete;
    CFindReplaceDialog& operator=(const CFindReplaceDialog&) = delete;

    static UINT GetFindReplaceMsg();

    // Creates a Find (findOnly) or Replace dialog; false when the system refused.
    bool Create(bool findOnly, const std::wstring& findWhat, const std::wstring& replaceWith, DWORD flags,
                HWND owner);
    // Destroys an open dialog window.
    void Destroy();
    // Forgets a dialog that closes itself (its FR_DIALOGTERM request).
    void Forget() noexcept { window_ = nullptr; }

    HWND GetHwnd() const noexcept { return window_; }
    bool IsOpen() const noexcept { return window_ != nullptr; }
    bool IsFindOnly() const noexcept { return findOnly_; }

    // Readers of one request record.
    static bool IsTerminating(const FINDREPLACEW& request) noexcept { return (request.Flags & FR_DIALOGTERM) != 0; }
    static bool FindNext(const FINDREPLACEW& request) noexcept { return (request.Flags & FR_FINDNEXT) != 0; }
    static bool ReplaceCurrent(const FINDREPLACEW& request) noexcept { return (request.Flags & FR_REPLACE) != 0; }
    static bool ReplaceAll(const FINDREPLACEW& request) noexcept { return (request.Flags & FR_REPLACEALL) != 0; }
    static bool MatchCase(const FINDREPLACEW& request) noexcept { return (request.Flags & FR_MATCHCASE) != 0; }
    static bool MatchWholeWord(const FINDREPLACEW& request) noexcept { return (request.Flags & FR_WHOLEWORD) != 0; }
    static std::wstring FindString(const FINDREPLACEW& request);
    static std::wstring ReplaceString(const FINDREPLACEW& request);

    // True when the record belongs to this object.
    bool Owns(const FINDREPLACEW* request) const noexcept { return request == &record_; }

private:
    FINDREPLACEW record_{};
    wchar_t findWhat_[kBufferChars] = {};
    wchar_t replaceWith_[kBufferChars] = {};
    HWND window_ = nullptr;
    bool findOnly_ = true;
};

}
