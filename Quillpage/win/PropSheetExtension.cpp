#include "PropSheetExtension.h"

#include "MetabasePath.h"
#include "ModuleActivation.h"
#include "ModuleState.h"
#include "SitePropertyPage.h"
#include "resource.h"

#include <Framework/Module.h>
#include <Framework/ActivationContext.h>
#include <Framework/Handles.h>

#include <cwchar>
#include <memory>

namespace Orvane { namespace Quillon {

namespace {

// The description with the activation-context field, as the module's common controls expect it.
static_assert(sizeof(void*) != 4 || sizeof(PROPSHEETPAGEW) == 52, "page description of 52 bytes on 32-bit");

// The page description: icon, title and help flags, dialog 110, icon 106, title string 106.
PROPSHEETPAGEW PageDescription()
{
    PROPSHEETPAGEW description{};
    description.dwSize = sizeof(description);
    description.dwFlags = PSP_USEICONID | PSP_USETITLE | PSP_HASHELP;
    description.hInstance = Framework::Module().GetModuleInstance();
    description.pszTemplate = MAKEINTRESOURCEW(IDD_SITE_PAGE);
    description.pszIcon = MAKEINTRESOURCEW(IDI_SITE_PAGE);
    description.pszTitle = MAKEINTRESOURCEW(IDS_PAGE_TITLE);
    return description;
}

struct PageRelease {
    void operator()(CSitePropertyPage* page) const noexcept { page->Release(); }
};

}

HRESULT GetDataObjectString(UINT format, IDataObject* dataObject, wchar_t* buffer) noexcept
{
    if (!buffer)
        return E_POINTER;
    buffer[0] = L'\0';
    if (!dataObject)
        return E_POINTER;
    Framework::ScopedGlobal block(::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, DataObjectBlockSize));
    if (!block)
        return E_OUTOFMEMORY;
    FORMATETC description{static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = block.Get();
    medium.pUnkForRelease = nullptr;
    HRESULT result = dataObject->GetDataHere(&description, &medium);
    if (FAILED(result))
        return result;
    if (!medium.hGlobal)
        return E_UNEXPECTED;
    // The block is ours whatever the data object did with the medium; a medium that points
    // elsewhere is read no further than our block's size would allow.
    Framework::GlobalLocked<const wchar_t> text(medium.hGlobal);
    if (!text)
        return E_UNEXPECTED;
    const SIZE_T available = ::GlobalSize(medium.hGlobal) / sizeof(wchar_t);
    const size_t limit = available < DataObjectStringLength ? static_cast<size_t>(available) : DataObjectStringLength;
    const size_t length = ::wcsnlen(text.Get(), limit);
    std::wmemcpy(buffer, text.Get(), length);
    buffer[length] = L'\0';
    return result;
}

const Framework::InterfaceEntry* CPropSheetExtension::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<CPropSheetExtension, IExtendPropertySheet>(IID_IExtendPropertySheet),
        {nullptr, nullptr}};
    return table;
}

HRESULT STDMETHODCALLTYPE CPropSheetExtension::QueryPagesFor(IDataObject*)
{
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPropSheetExtension::CreatePropertyPages(IPropertySheetCallback* provider, LONG_PTR,
                                                                   IDataObject* dataObject)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!provider)
            return E_POINTER;
        dataObject_ = dataObject;
        std::unique_ptr<wchar_t[]> buffer(new wchar_t[DataObjectStringBufferSize]);
        HRESULT read = GetDataObjectString(RegisteredClipboardFormats().metaPath, dataObject, buffer.get());
        dataObject_ = nullptr;
        // Without the node's path there is no node to show: no page rather than a guessed one.
        if (FAILED(read))
            return read;
        const SiteLocation location = ParseMetabasePath(buffer.get());

        std::unique_ptr<CSitePropertyPage, PageRelease> page(new CSitePropertyPage(location.siteId, location.pathInSite));
        PROPSHEETPAGEW description = PageDescription();
        HPROPSHEETPAGE handle = nullptr;
        {
            Framework::ActivationScope scope(ModuleActivationContext());
            handle = page->Create(description);
        }
        if (!handle)
            return E_FAIL;
        HRESULT added = provider->AddPage(handle);
        // A page the sheet did not take is still ours to destroy.
        if (FAILED(added))
            ::DestroyPropertySheetPage(handle);
        return added;
    });
}

HRESULT CreatePropSheetExtension(REFIID iid, void** out) noexcept
{
    return Framework::CreateComObject<CPropSheetExtension>(iid, out);
}

}}
