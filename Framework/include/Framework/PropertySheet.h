#pragma once
// A modeless property sheet over PropertySheetW. Pages added before the window exists wait in the
// sheet and belong to it: pages that never reach a window are destroyed with the sheet object.
// A modeless sheet does not close itself after OK or Cancel, and not every system tells anyone:
// the sheet object watches its window's OK and Cancel, calls OnFinished() once the sheet has
// ended by them, and then destroys the window as soon as the window's current message is done.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

namespace Framework {

class CPropertySheetWindow {
public:
    CPropertySheetWindow();
    virtual ~CPropertySheetWindow();
    CPropertySheetWindow(const CPropertySheetWindow&) = delete;
    CPropertySheetWindow& operator=(const CPropertySheetWindow&) = delete;

    // S_OK, E_INVALIDARG for a null page, E_FAIL when the window refused it, E_OUTOFMEMORY.
    HRESULT AddPage(HPROPSHEETPAGE page) noexcept;
    HRESULT RemovePage(HPROPSHEETPAGE page) noexcept;
    size_t PendingPageCount() const noexcept { return pages_.size(); }

    // Creates the modeless sheet with the waiting pages; null when it could not be created (the
    // pages are destroyed then).
    HWND Create(HWND parent);
    HWND GetHwnd() const noexcept { return window_; }
    bool IsWindow() const noexcept { return window_ && ::IsWindow(window_); }
    bool DestroyWindow();

    // The sheet's dialog keyboard handling for a message of the loop.
    bool IsDialogMessage(MSG* msg) const;
    // OK or Cancel has ended the sheet.
    bool IsFinished() const noexcept { return finished_; }

    // Changes the style of the sheet's dialog template (PSCB_PRECREATE's lParam), in either
    // template layout.
    static void ChangeTemplateStyle(LPARAM dialogTemplate, DWORD remove, DWORD add) noexcept;

protected:
    PROPSHEETHEADERW& Header() noexcept { return header_; }
    // The sheet callback; window is null before the window exists. The base answers 0.
    virtual int OnSheetCallback(HWND window, UINT message, LPARAM lParam);
    // Called once, after OK or Cancel ended the sheet, while its window still exists.
    virtual void OnFinished() {}

private:
    static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
    static LRESULT CALLBACK SheetWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window) noexcept;
    void Detach() noexcept;
    // After the sheet handled msg: whether it was an OK or Cancel that ended the sheet.
    void NoticeEnd(UINT msg, WPARAM wParam) noexcept;

    PROPSHEETHEADERW header_{};
    std::vector<HPROPSHEETPAGE> pages_;
    HWND window_ = nullptr;
    WNDPROC sheetProc_ = nullptr;
    bool finished_ = false;
};

}
