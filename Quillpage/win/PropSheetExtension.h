#pragma once
// The property-sheet extension that the host (the IIS manager, or Orvanedock in its place) creates
// by class id: it reads the node's metabase path from the node's data object and adds the site
// property page for it.
#include <windows.h>
#include <objidl.h>

#include <Common/SnapinInterfaces.h>
#include <Framework/ComObject.h>

namespace Orvane { namespace Quillon {

// The longest text GetDataObjectString delivers, in characters, and its buffer's size.
constexpr size_t DataObjectStringLength = 255;
constexpr size_t DataObjectStringBufferSize = DataObjectStringLength + 1;
// The size of the global block handed to the data object.
constexpr SIZE_T DataObjectBlockSize = 512;

// Reads one clipboard format of a data object as text into buffer (DataObjectStringBufferSize wide
// characters): at most DataObjectStringLength characters, always terminated. The data object's
// failure is returned unchanged (buffer then empty); E_POINTER for a null data object or buffer.
HRESULT GetDataObjectString(UINT format, IDataObject* dataObject, wchar_t* buffer) noexcept;

class CPropSheetExtension final : public Framework::ComObject<CPropSheetExtension, IExtendPropertySheet> {
public:
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    // Adds one site property page; the result of AddPage, E_FAIL when the page cannot be created,
    // or the data object's failure when it does not deliver the metabase path (then no page).
    HRESULT STDMETHODCALLTYPE CreatePropertyPages(IPropertySheetCallback* provider, LONG_PTR handle,
                                                  IDataObject* dataObject) override;
    // S_OK for every data object.
    HRESULT STDMETHODCALLTYPE QueryPagesFor(IDataObject* dataObject) override;

private:
    // Used only during CreatePropertyPages; holds no reference.
    IDataObject* dataObject_ = nullptr;
};

// Creates the extension (reference count 0 before its QueryInterface); for the class factory.
HRESULT CreatePropSheetExtension(REFIID iid, void** out) noexcept;

}}
