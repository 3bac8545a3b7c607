#include "DataObject.h"

#include "DataObjectText.h"

#include <cstring>

namespace Orvane::Manager {

CDataObjectImpl::CDataObjectImpl(const std::wstring* path) : text_(Orvanedock::DataObjectText(path))
{
}

const Framework::InterfaceEntry* CDataObjectImpl::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<CDataObjectImpl, IDataObject>(IID_IDataObject), {nullptr, nullptr}};
    return table;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::GetDataHere(FORMATETC*, STGMEDIUM* medium)
{
    if (!medium)
        return E_POINTER;
    if (medium->tymed != TYMED_HGLOBAL)
        return DV_E_TYMED;
    if (!medium->hGlobal)
        return E_INVALIDARG;
    if (text_.empty())
        return E_UNEXPECTED;
    const size_t needed = (text_.size() + 1) * sizeof(wchar_t);
    const size_t size = ::GlobalSize(medium->hGlobal);
    if (size < needed)
        return STG_E_MEDIUMFULL;
    void* block = ::GlobalLock(medium->hGlobal);
    if (!block)
        return E_OUTOFMEMORY;
    // The text and its terminator; the rest of the receiver's 512 bytes is cleared, never past the block.
    const size_t cleared = size < Orvanedock::kDataObjectChars * sizeof(wchar_t) ? size
                                                                                : Orvanedock::kDataObjectChars * sizeof(wchar_t);
    std::memset(block, 0, cleared);
    std::memcpy(block, text_.c_str(), needed);
    ::GlobalUnlock(medium->hGlobal);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::GetData(FORMATETC*, STGMEDIUM*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::QueryGetData(FORMATETC*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::GetCanonicalFormatEtc(FORMATETC*, FORMATETC*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::SetData(FORMATETC*, STGMEDIUM*, BOOL)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::EnumFormatEtc(DWORD, IEnumFORMATETC**)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::DUnadvise(DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CDataObjectImpl::EnumDAdvise(IEnumSTATDATA**)
{
    return E_NOTIMPL;
}

}
