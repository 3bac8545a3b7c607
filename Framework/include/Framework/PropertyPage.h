#pragma once
// A property page of a property sheet as a heap object driven by a message map (MessageMap.h): a
// dialog procedure that finds the object in the page window's user data, and a page description
// that keeps the object alive.
// The object is shared by two holders, each with one reference: the page description (from
// Create until the sheet destroys the page, PSPCB_RELEASE) and the page window (from WM_INITDIALOG
// to WM_NCDESTROY). The last of them frees it, in whichever order the system ends them, so a page
// that never gets a window does not leak and a window never outlives its object. Each message holds
// one more for as long as the map handles it, so that a page whose sheet is destroyed while one of
// its handlers runs a modal loop lives until that handler has returned. A live page
// object counts as a live object of the module (ServerCounts), so that a DLL that made it stays
// loaded while a page is open.
// The map gets WM_INITDIALOG with the window already known; the object reaches the window's user
// data only after it, so the messages sent during initialisation do not reach the map. Every later
// message but WM_NCDESTROY does. A handled message answers as in a dialog of DialogImpl.h; a
// handler that threw has not handled its message, and no exception leaves the dialog procedure.
#include "Framework/MessageMap.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

namespace Framework {

class CPropertyPage : public CMessageMap {
public:
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;

    // Fills the description's dialog procedure, release callback (PSP_USECALLBACK is added) and
    // parameter, then creates the page. The description's other fields are the caller's. On
    // success the page holds a reference of the object; null on failure.
    HPROPSHEETPAGE Create(PROPSHEETPAGEW& description);

    // Drops the creator's reference (a new object starts with one).
    void Release() noexcept;

    // The page's window; null before WM_INITDIALOG and once the window is gone (also when a
    // handler comes back from a modal loop in which the host destroyed the sheet).
    HWND PageWindow() const noexcept { return window_; }

protected:
    CPropertyPage() noexcept;
    virtual ~CPropertyPage();

    // Tells the sheet that the page has changes (enables Apply).
    void SetModified() const noexcept;

private:
    class MessageReference;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    static UINT CALLBACK PageCallback(HWND window, UINT msg, PROPSHEETPAGEW* page);
    void AddReference() noexcept;

    volatile LONG references_;
    HWND window_ = nullptr;
};

}
