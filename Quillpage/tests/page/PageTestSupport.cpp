#include "PageTestSupport.h"

#include <TestSupport/WindowDriver.h>

#include <cwchar>

namespace PageTest {

const Framework::InterfaceEntry* TestDataObject::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {Framework::InterfaceOf<TestDataObject, IDataObject>(IID_IDataObject),
                                                      {nullptr, nullptr}};
    return table;
}

HRESULT STDMETHODCALLTYPE TestDataObject::GetDataHere(FORMATETC* format, STGMEDIUM* medium)
{
    ++calls;
    if (!format || !medium)
        return E_POINTER;
    askedFormat = *format;
    askedTymed = medium->tymed;
    askedWithReleaseObject = medium->pUnkForRelease != nullptr;
    askedBlockSize = medium->hGlobal ? ::GlobalSize(medium->hGlobal) : 0;
    if (FAILED(result_))
        return result_;
    if (format->cfFormat != static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"ISM_SNAPIN_META_PATH")))
        return DV_E_FORMATETC;
    if (medium->tymed != TYMED_HGLOBAL || !medium->hGlobal)
        return DV_E_TYMED;
    auto* block = static_cast<wchar_t*>(::GlobalLock(medium->hGlobal));
    if (!block)
        return E_UNEXPECTED;
    const size_t capacity = askedBlockSize / sizeof(wchar_t);
    const size_t length = path_.size() < capacity ? path_.size() : capacity;
    std::wmemcpy(block, path_.data(), length);
    if (length < capacity)
        block[length] = L'\0';
    ::GlobalUnlock(medium->hGlobal);
    return result_;
}

const Framework::InterfaceEntry* TestCallback::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<TestCallback, IPropertySheetCallback>(IID_IPropertySheetCallback), {nullptr, nullptr}};
    return table;
}

HRESULT STDMETHODCALLTYPE TestCallback::AddPage(HPROPSHEETPAGE page)
{
    if (SUCCEEDED(result_))
        pages.push_back(page);
    return result_;
}

TestSheet::TestSheet()
{
    Header().dwSize = sizeof(PROPSHEETHEADERW);
    Header().pszCaption = L"Quillon test sheet";
}

HWND TestSheet::CurrentPage() const
{
    return reinterpret_cast<HWND>(::SendMessageW(GetHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
}

ModalDriver::ModalDriver(const wchar_t* caption, std::function<void(HWND)> action, DWORD timeoutMs)
    : caption_(caption), action_(std::move(action)), timeoutMs_(timeoutMs)
{
    thread_ = std::thread([this] {
        HWND dialog = nullptr;
        const ULONGLONG end = ::GetTickCount64() + timeoutMs_;
        while (!dialog && ::GetTickCount64() < end) {
            std::vector<HWND> found = TestSupport::FindTopWindows(0, L"#32770", caption_.c_str());
            if (!found.empty())
                dialog = found.front();
            else
                ::Sleep(20);
        }
        if (!dialog)
            return;
        ::Sleep(100);  // let the dialog finish its initialisation
        found_ = true;
        action_(dialog);
        if (WaitUntilGone(dialog, timeoutMs_)) {
            closed_ = true;
            return;
        }
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
}

ModalDriver::~ModalDriver()
{
    if (thread_.joinable())
        thread_.join();
}

bool ModalDriver::Join()
{
    if (thread_.joinable())
        thread_.join();
    return found_;
}

void PostClick(HWND dialog, int id)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::wstring ItemText(HWND dialog, int id)
{
    return TestSupport::WindowText(::GetDlgItem(dialog, id));
}

void SetItemText(HWND dialog, int id, const std::wstring& text)
{
    ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool WaitUntilGone(HWND window, DWORD timeoutMs)
{
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    while (::IsWindow(window)) {
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(20);
    }
    return true;
}

}
