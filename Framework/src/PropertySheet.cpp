#include "Framework/PropertySheet.h"

#include <algorithm>
#include <new>

namespace Framework {

namespace {

const wchar_t kSheetProperty[] = L"Framework.PropertySheet";

// The sheet whose PropertySheetW call runs on this thread: its first callbacks come before
// the window exists.
thread_local CPropertySheetWindow* t_creatingSheet = nullptr;

// Posted to a sheet that OK or Cancel has ended: it destroys itself.
UINT EndMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"Framework.PropertySheet.End");
    return message;
}

// The extended template begins with the version 1 and the signature 0xFFFF.
struct DialogTemplateExHead {
    WORD version;
    WORD signature;
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
};

}

CPropertySheetWindow::CPropertySheetWindow()
{
    header_.dwSize = sizeof(header_);
    header_.dwFlags = PSH_USECALLBACK;
    header_.pfnCallback = &CPropertySheetWindow::SheetCallback;
}

CPropertySheetWindow::~CPropertySheetWindow()
{
    DestroyWindow();
    for (HPROPSHEETPAGE page : pages_)
        ::DestroyPropertySheetPage(page);
}

HRESULT CPropertySheetWindow::AddPage(HPROPSHEETPAGE page) noexcept
{
    if (!page)
        return E_INVALIDARG;
    if (IsWindow())
        return ::SendMessageW(window_, PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(page)) ? S_OK : E_FAIL;
    try {
        pages_.push_back(page);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CPropertySheetWindow::RemovePage(HPROPSHEETPAGE page) noexcept
{
    if (!page)
        return E_INVALIDARG;
    if (IsWindow()) {
        ::SendMessageW(window_, PSM_REMOVEPAGE, 0, reinterpret_cast<LPARAM>(page));
        return S_OK;
    }
    auto found = std::find(pages_.begin(), pages_.end(), page);
    if (found == pages_.end())
        return E_INVALIDARG;
    pages_.erase(found);
    return S_OK;
}

HWND CPropertySheetWindow::Create(HWND parent)
{
    if (window_)
        return nullptr;
    header_.dwFlags |= PSH_MODELESS;
    if (!header_.hwndParent)
        header_.hwndParent = parent;
    header_.nPages = static_cast<UINT>(pages_.size());
    header_.phpage = pages_.empty() ? nullptr : pages_.data();

    CPropertySheetWindow* outer = t_creatingSheet;
    t_creatingSheet = this;
    INT_PTR result = ::PropertySheetW(&header_);
    t_creatingSheet = outer;

    header_.nPages = 0;
    header_.phpage = nullptr;
    std::vector<HPROPSHEETPAGE> handed;
    handed.swap(pages_);
    // A modeless PropertySheetW reports failure as -1 (or null), never as a window.
    HWND window = (result == -1 || result == 0) ? nullptr : reinterpret_cast<HWND>(result);
    if (!window || !::IsWindow(window)) {
        Detach();
        for (HPROPSHEETPAGE page : handed)
            ::DestroyPropertySheetPage(page);
        return nullptr;
    }
    Attach(window);
    return window;
}

bool CPropertySheetWindow::DestroyWindow()
{
    if (!window_)
        return false;
    HWND window = window_;
    Detach();
    return ::IsWindow(window) && ::DestroyWindow(window);
}

bool CPropertySheetWindow::IsDialogMessage(MSG* msg) const
{
    return IsWindow() && ::SendMessageW(window_, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}

void CPropertySheetWindow::NoticeEnd(UINT msg, WPARAM wParam) noexcept
{
    bool endingButton = false;
    if (msg == WM_COMMAND)
        endingButton = LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL;
    else if (msg == PSM_PRESSBUTTON)
        endingButton = wParam == PSBTN_OK || wParam == PSBTN_CANCEL;
    if (!endingButton || finished_ || !window_)
        return;
    // A page that refused to close keeps the sheet's current page.
    if (::SendMessageW(window_, PSM_GETCURRENTPAGEHWND, 0, 0) != 0)
        return;
    finished_ = true;
    try {
        OnFinished();
    } catch (...) {
    }
    // Not now: the system's sheet code that sent the message is still running on this window.
    ::PostMessageW(window_, EndMessage(), 0, 0);
}

LRESULT CALLBACK CPropertySheetWindow::SheetWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CPropertySheetWindow*>(::GetPropW(window, kSheetProperty));
    if (!self || !self->sheetProc_)
        return ::DefWindowProcW(window, msg, wParam, lParam);
    WNDPROC sheetProc = self->sheetProc_;
    if (msg == EndMessage() && self->finished_) {
        self->DestroyWindow();
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        self->Detach();
        return ::CallWindowProcW(sheetProc, window, msg, wParam, lParam);
    }
    LRESULT result = ::CallWindowProcW(sheetProc, window, msg, wParam, lParam);
    // A page's handler under this message may have run a modal loop in which the host destroyed
    // the sheet object, or its window: then neither is to be looked at any more.
    if (::GetPropW(window, kSheetProperty) == self)
        self->NoticeEnd(msg, wParam);
    return result;
}

void CPropertySheetWindow::ChangeTemplateStyle(LPARAM dialogTemplate, DWORD remove, DWORD add) noexcept
{
    if (!dialogTemplate)
        return;
    auto* head = reinterpret_cast<DialogTemplateExHead*>(dialogTemplate);
    DWORD* style = (head->version == 1 && head->signature == 0xFFFF)
                       ? &head->style
                       : &reinterpret_cast<DLGTEMPLATE*>(dialogTemplate)->style;
    *style = (*style & ~remove) | add;
}

int CPropertySheetWindow::OnSheetCallback(HWND, UINT, LPARAM)
{
    return 0;
}

void CPropertySheetWindow::Attach(HWND window) noexcept
{
    if (window_ == window)
        return;
    window_ = window;
    finished_ = false;
    ::SetPropW(window, kSheetProperty, this);
    sheetProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CPropertySheetWindow::SheetWindowProc)));
}

void CPropertySheetWindow::Detach() noexcept
{
    if (window_ && ::GetPropW(window_, kSheetProperty) == this) {
        if (sheetProc_ && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window_, GWLP_WNDPROC)) ==
                              &CPropertySheetWindow::SheetWindowProc)
            ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sheetProc_));
        ::RemovePropW(window_, kSheetProperty);
    }
    sheetProc_ = nullptr;
    window_ = nullptr;
}

int CALLBACK CPropertySheetWindow::SheetCallback(HWND window, UINT message, LPARAM lParam)
{
    CPropertySheetWindow* self = nullptr;
    if (window)
        self = static_cast<CPropertySheetWindow*>(::GetPropW(window, kSheetProperty));
    if (!self)
        self = t_creatingSheet;
    if (!self)
        return 0;
    if (message == PSCB_INITIALIZED && window && !self->window_)
        self->Attach(window);
    try {
        return self->OnSheetCallback(window, message, lParam);
    } catch (...) {
        return 0;
    }
}

}
