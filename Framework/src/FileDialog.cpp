#include "Framework/FileDialog.h"

namespace Framework {

#ifndef _WIN64
static_assert(FileDialog::kStructureSize == 76, "the old-syntax structure is 76 bytes on 32-bit");
#endif

FileDialog::FileDialog(bool open, const std::wstring& defaultExtension, const std::wstring& fileName, DWORD flags,
                       const std::vector<Filter>& filters, Form form)
    : open_(open), defaultExtension_(defaultExtension),
      fileName_(form == Form::Platform ? kLongFileNameChars : kFileNameChars, L'\0'), fileTitle_(kFileTitleChars, L'\0'),
      ofn_{}
{
    for (const Filter& filter : filters) {
        filter_.insert(filter_.end(), filter.description.begin(), filter.description.end());
        filter_.push_back(L'\0');
        filter_.insert(filter_.end(), filter.pattern.begin(), filter.pattern.end());
        filter_.push_back(L'\0');
    }
    filter_.push_back(L'\0');
    fileName.copy(fileName_.data(), fileName.size() < fileName_.size() ? fileName.size() : fileName_.size() - 1);

    ofn_.lStructSize = form == Form::Platform ? sizeof(ofn_) : kStructureSize;
    ofn_.hwndOwner = nullptr;
    ofn_.lpstrFilter = filters.empty() ? nullptr : filter_.data();
    ofn_.nFilterIndex = filters.empty() ? 0 : 1;
    ofn_.lpstrFile = fileName_.data();
    ofn_.nMaxFile = static_cast<DWORD>(fileName_.size());
    ofn_.lpstrFileTitle = fileTitle_.data();
    ofn_.nMaxFileTitle = kFileTitleChars;
    ofn_.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
    if (form == Form::Platform) {
        ofn_.Flags = flags;
        return;
    }
    ofn_.Flags = flags | kFrameworkFlags;
    ofn_.lpfnHook = &FileDialog::HookProc;
    ofn_.lCustData = reinterpret_cast<LPARAM>(this);
}

INT_PTR FileDialog::DoModal(HWND owner)
{
    ofn_.hwndOwner = owner ? owner : ::GetActiveWindow();
    error_ = 0;
    const BOOL chosen = open_ ? ::GetOpenFileNameW(&ofn_) : ::GetSaveFileNameW(&ofn_);
    ofn_.hwndOwner = nullptr;
    if (chosen)
        return IDOK;
    error_ = ::CommDlgExtendedError();
    return IDCANCEL;
}

// The dialog's own handling is all that is wanted: the hook only makes the framework's dialog
// resizable and leaves every message to the system.
UINT_PTR CALLBACK FileDialog::HookProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

}
