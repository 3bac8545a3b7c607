#include "Framework/DialogImpl.h"

#include "Framework/Module.h"
#include "MessageDispatch.h"

namespace Framework {

namespace {

const wchar_t kDialogProperty[] = L"Framework.DialogObject";
thread_local CDialogImplRoot* t_creatingDialog = nullptr;

}

CDialogImplRoot::~CDialogImplRoot()
{
    if (bound_ && FromHandle(bound_) == this)
        ::RemovePropW(bound_, kDialogProperty);
}

CDialogImplRoot* CDialogImplRoot::FromHandle(HWND window) noexcept
{
    return static_cast<CDialogImplRoot*>(::GetPropW(window, kDialogProperty));
}

void CDialogImplRoot::Bind(HWND window)
{
    HandleRef() = window;
    bound_ = window;
    ::SetPropW(window, kDialogProperty, this);
}

INT_PTR CDialogImplRoot::DoModalImpl(UINT templateId, HWND owner, LPARAM initParam)
{
    if (HandleRef())
        return -1;
    modal_ = true;
    CDialogImplRoot* previous = t_creatingDialog;
    t_creatingDialog = this;
    INT_PTR result = ::DialogBoxParamW(Module().GetResourceInstance(), MAKEINTRESOURCEW(templateId), owner,
                                       &CDialogImplRoot::DialogProc, initParam);
    t_creatingDialog = previous;
    modal_ = false;
    return result;
}

HWND CDialogImplRoot::CreateImpl(UINT templateId, HWND owner, LPARAM initParam)
{
    if (HandleRef())
        return nullptr;
    modal_ = false;
    CDialogImplRoot* previous = t_creatingDialog;
    t_creatingDialog = this;
    HWND window = ::CreateDialogParamW(Module().GetResourceInstance(), MAKEINTRESOURCEW(templateId), owner,
                                       &CDialogImplRoot::DialogProc, initParam);
    t_creatingDialog = previous;
    if (!window)
        HandleRef() = nullptr;
    return window;
}

bool CDialogImplRoot::EndDialogImpl(INT_PTR result)
{
    HWND window = HandleRef();
    if (!window)
        return false;
    if (modal_)
        return ::EndDialog(window, result) != FALSE;
    return ::DestroyWindow(window) != FALSE;
}

INT_PTR CALLBACK CDialogImplRoot::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialogImplRoot* self = FromHandle(window);
    if (!self) {
        self = t_creatingDialog;
        if (!self)
            return FALSE;
        t_creatingDialog = nullptr;
        self->Bind(window);
    }

    const MSG current{window, msg, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    bool handled = false;
    {
        CurrentMessageScope scope(self->currentMsg_, current);
        NestedMessage nested(self->final_);
        // A handler that threw has not handled the message: the dialog manager does the default.
        ProcessWithoutThrowing(*self, window, msg, wParam, lParam, result, handled);
    }

    if (msg == WM_NCDESTROY) {
        ::RemovePropW(window, kDialogProperty);
        self->HandleRef() = nullptr;
        self->bound_ = nullptr;
        self->final_.Destroyed(window);
    }
    // A dialog destroyed while its handler ran (in a modal loop, say) answers nothing.
    const bool answers = handled && self->bound_ == window;
    // OnFinalMessage may free the object: only once no handler of it is on the stack any more.
    if (HWND gone = self->final_.Due())
        self->OnFinalMessage(gone);
    return answers ? DialogAnswer(window, msg, result) : FALSE;
}

}
