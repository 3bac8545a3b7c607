// The tests' property-sheet extension: reads "ISM_SNAPIN_META_PATH" from the host's data object the
// way a real extension does and shows it on its page.
#include "TestExtension.h"

#include <Common/SnapinInterfaces.h>
#include <Framework/ClassFactory.h>
#include <Framework/ComObject.h>
#include <Framework/Handles.h>

#include <prsht.h>

#include <string>

namespace {

using namespace OrvanedockTest;

HINSTANCE g_instance = nullptr;
std::wstring g_lastPath;
constexpr int kPageTemplate = 100;

// Page parameters live as long as the module; their texts are fixed.
struct PageText {
    const wchar_t* title;
    std::wstring text;
};
PageText g_pages[3];

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* sheetPage = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
        auto* text = reinterpret_cast<PageText*>(sheetPage->lParam);
        ::SetDlgItemTextW(page, kPageTextId, text->text.c_str());
        return TRUE;
    }
    return FALSE;
}

std::wstring ReadPath(IDataObject* data)
{
    const UINT format = ::RegisterClipboardFormatW(L"ISM_SNAPIN_META_PATH");
    FORMATETC description{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    Framework::ScopedGlobal block(::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, 512));
    medium.hGlobal = block.Get();
    if (!data || !block || FAILED(data->GetDataHere(&description, &medium)))
        return L"(none)";
    const wchar_t* text = static_cast<const wchar_t*>(::GlobalLock(block.Get()));
    std::wstring path(text, wcsnlen(text, 255));
    ::GlobalUnlock(block.Get());
    return path;
}

HPROPSHEETPAGE MakePage(PageText& text)
{
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof(page);
    page.dwFlags = PSP_USETITLE;
    page.hInstance = g_instance;
    page.pszTemplate = MAKEINTRESOURCEW(kPageTemplate);
    page.pszTitle = text.title;
    page.pfnDlgProc = PageProc;
    page.lParam = reinterpret_cast<LPARAM>(&text);
    return ::CreatePropertySheetPageW(&page);
}

template <int Kind>
class TestExtension final : public Framework::ComObject<TestExtension<Kind>, IExtendPropertySheet> {
public:
    static const Framework::InterfaceEntry* InterfaceTable() noexcept
    {
        static const Framework::InterfaceEntry table[] = {
            Framework::InterfaceOf<TestExtension, IExtendPropertySheet>(IID_IExtendPropertySheet), {nullptr, nullptr}};
        return table;
    }
    HRESULT STDMETHODCALLTYPE QueryPagesFor(IDataObject*) override { return Kind == 2 ? S_FALSE : S_OK; }
    HRESULT STDMETHODCALLTYPE CreatePropertyPages(IPropertySheetCallback* callback, LONG_PTR, IDataObject* data) override
    {
        static const wchar_t* const titles[] = {L"One", L"Two", L"", L"Partial"};
        g_lastPath = ReadPath(data);
        PageText& text = g_pages[Kind == 3 ? 2 : Kind];
        text.title = titles[Kind];
        text.text = std::wstring(titles[Kind]) + L": " + g_lastPath;
        HPROPSHEETPAGE page = MakePage(text);
        if (!page)
            return E_FAIL;
        HRESULT added = callback->AddPage(page);
        if (FAILED(added))
            ::DestroyPropertySheetPage(page);
        return Kind == 3 ? E_FAIL : added;
    }
};

template <int Kind>
HRESULT Create(REFIID iid, void** out)
{
    return Framework::CreateComObject<TestExtension<Kind>>(iid, out);
}

const Framework::ClassEntry kClasses[] = {
    {&kPageExtension, &Create<0>},
    {&kSecondPageExtension, &Create<1>},
    {&kRefusingExtension, &Create<2>},
    {&kFailingExtension, &Create<3>},
    {nullptr, nullptr},
};

}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_instance = instance;
    return TRUE;
}

extern "C" HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return Framework::GetClassObject(kClasses, clsid, iid, out);
}

extern "C" HRESULT STDMETHODCALLTYPE DllCanUnloadNow()
{
    return Framework::ServerCounts::CanUnloadNow();
}

// The path that the last CreatePropertyPages read from its data object.
extern "C" const wchar_t* TestExtensionLastPath()
{
    return g_lastPath.c_str();
}
