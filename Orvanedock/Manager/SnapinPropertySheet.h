#pragma once
// The modeless property sheet that holds the extensions' pages as a child window in the frame's
// right pane. OK and Cancel are hidden; the sheet's end after them (by Enter or Escape in a page)
// is reported to the frame once.
#include <Framework/PropertySheet.h>

namespace Orvane::Manager {

// Posted to the frame when the sheet has ended by OK or Cancel; wParam is the sheet's Serial().
inline constexpr UINT kSheetClosedMessage = WM_USER + 1;

class CSnapinPropertySheet : public Framework::CPropertySheetWindow {
public:
    CSnapinPropertySheet();

    // The window that receives kSheetClosedMessage.
    void SetNotifyWindow(HWND window) noexcept { notify_ = window; }
    // A number that no other sheet of the process has had. The end message is posted, so it may
    // arrive after a new sheet has replaced this one; the number tells the two apart.
    WPARAM Serial() const noexcept { return serial_; }
    // Moves the sheet into parent at the rectangle and hides and disables OK and Cancel.
    void PlaceInPane(HWND parent, const RECT& rectangle);
protected:
    int OnSheetCallback(HWND window, UINT message, LPARAM lParam) override;
    // Posts kSheetClosedMessage to the frame.
    void OnFinished() override;

private:
    HWND notify_ = nullptr;
    const WPARAM serial_;
};

}
