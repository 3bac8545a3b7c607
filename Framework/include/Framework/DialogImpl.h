#pragma once
// Dialogs from resources, modal and modeless, driven by a message map. T names its template
// with `enum { IDD = ... };`. The first messages (WM_SETFONT before WM_INITDIALOG) already reach
// the object.
#include "Framework/FinalMessage.h"
#include "Framework/MessageMap.h"
#include "Framework/Window.h"

namespace Framework {

class CDialogImplRoot : public CMessageMap {
public:
    CDialogImplRoot(const CDialogImplRoot&) = delete;
    CDialogImplRoot& operator=(const CDialogImplRoot&) = delete;

    const MSG* GetCurrentMessage() const noexcept { return currentMsg_; }
    static CDialogImplRoot* FromHandle(HWND window) noexcept;

protected:
    CDialogImplRoot() = default;
    virtual ~CDialogImplRoot();

    virtual HWND& HandleRef() noexcept = 0;
    virtual void OnFinalMessage(HWND) {}

    INT_PTR DoModalImpl(UINT templateId, HWND owner, LPARAM initParam);
    HWND CreateImpl(UINT templateId, HWND owner, LPARAM initParam);
    bool EndDialogImpl(INT_PTR result);
    bool IsModal() const noexcept { return modal_; }

    static INT_PTR CALLBACK DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void Bind(HWND window);

    HWND bound_ = nullptr;
    bool modal_ = false;
    const MSG* currentMsg_ = nullptr;
    FinalMessage final_;
};

template <class T, class TBase = CWindow>
class CDialogImpl : public TBase, public CDialogImplRoot {
public:
    // Runs the dialog modally; the result of EndDialog, or -1 when it could not be created.
    INT_PTR DoModal(HWND owner = ::GetActiveWindow(), LPARAM initParam = 0)
    {
        return DoModalImpl(static_cast<UINT>(T::IDD), owner, initParam);
    }
    // Creates the dialog modeless; the owner's loop must offer it its messages (IsDialogMessage).
    HWND Create(HWND owner, LPARAM initParam = 0) { return CreateImpl(static_cast<UINT>(T::IDD), owner, initParam); }
    bool EndDialog(INT_PTR result) { return EndDialogImpl(result); }

protected:
    HWND& HandleRef() noexcept override { return this->m_hWnd; }
};

}
