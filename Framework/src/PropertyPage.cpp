#include "Framework/PropertyPage.h"

#include "Framework/ComObject.h"
#include "MessageDispatch.h"

namespace Framework {

CPropertyPage::CPropertyPage() noexcept : references_(1)
{
    ServerCounts::AddObject();
}

CPropertyPage::~CPropertyPage()
{
    ServerCounts::RemoveObject();
}

void CPropertyPage::AddReference() noexcept
{
    ::InterlockedIncrement(&references_);
}

void CPropertyPage::Release() noexcept
{
    if (::InterlockedDecrement(&references_) == 0)
        delete this;
}

HPROPSHEETPAGE CPropertyPage::Create(PROPSHEETPAGEW& description)
{
    description.dwFlags |= PSP_USECALLBACK;
    description.pfnDlgProc = &CPropertyPage::DialogProc;
    description.pfnCallback = &CPropertyPage::PageCallback;
    description.lParam = reinterpret_cast<LPARAM>(this);
    AddReference();
    HPROPSHEETPAGE page = ::CreatePropertySheetPageW(&description);
    if (!page)
        Release();
    return page;
}

void CPropertyPage::SetModified() const noexcept
{
    if (window_)
        ::SendMessageW(::GetParent(window_), PSM_CHANGED, reinterpret_cast<WPARAM>(window_), 0);
}

UINT CALLBACK CPropertyPage::PageCallback(HWND, UINT msg, PROPSHEETPAGEW* page)
{
    if (msg == PSPCB_RELEASE && page && page->lParam)
        reinterpret_cast<CPropertyPage*>(page->lParam)->Release();
    return 1;
}

INT_PTR CALLBACK CPropertyPage::DialogProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CPropertyPage* page = nullptr;
    if (msg == WM_INITDIALOG) {
        auto* description = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
        page = description ? reinterpret_cast<CPropertyPage*>(description->lParam) : nullptr;
        if (!page)
            return FALSE;
        page->AddReference();
        page->window_ = window;
    } else {
        page = reinterpret_cast<CPropertyPage*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (!page)
            return FALSE;
        if (msg == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, DWLP_USER, 0);
            page->window_ = nullptr;
            page->Release();
            return FALSE;
        }
    }
    LRESULT result = 0;
    bool handled = false;
    ProcessWithoutThrowing(*page, window, msg, wParam, lParam, result, handled);
    if (msg == WM_INITDIALOG)
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
    return handled ? DialogAnswer(window, msg, result) : FALSE;
}

}
