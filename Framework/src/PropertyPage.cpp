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

// One reference of a page, held while one of its messages is handled.
class CPropertyPage::MessageReference {
public:
    explicit MessageReference(CPropertyPage& page) noexcept : page_(page) { page_.AddReference(); }
    ~MessageReference() { page_.Release(); }
    MessageReference(const MessageReference&) = delete;
    MessageReference& operator=(const MessageReference&) = delete;

private:
    CPropertyPage& page_;
};

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
    // A handler may run a modal loop in which the host destroys the sheet, and with it both
    // holders of the page; the page stays until its handler has returned.
    MessageReference hold(*page);
    LRESULT result = 0;
    bool handled = false;
    ProcessWithoutThrowing(*page, window, msg, wParam, lParam, result, handled);
    // The window may be gone by now; then its answer goes nowhere.
    if (!page->window_)
        return FALSE;
    if (msg == WM_INITDIALOG)
        ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
    return handled ? DialogAnswer(window, msg, result) : FALSE;
}

}
