#pragma once
// The data object an extension is handed for a tree node: every clipboard format it asks for,
// "ISM_SNAPIN_META_PATH" among them, gets the node's metabase path followed by "/". It lives on
// the stack of one loading call and counts no references.
#include <windows.h>
#include <objidl.h>

#include <Framework/ComObject.h>

#include <string>

namespace Orvane::Manager {

class CDataObjectImpl : public Framework::UncountedComObject<CDataObjectImpl, IDataObject> {
public:
    // path: the node's metabase path; null for the server level.
    explicit CDataObjectImpl(const std::wstring* path);
    virtual ~CDataObjectImpl() = default;
    CDataObjectImpl(const CDataObjectImpl&) = delete;
    CDataObjectImpl& operator=(const CDataObjectImpl&) = delete;

    const std::wstring& Text() const noexcept { return text_; }

    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    // Writes the text and its terminator into the medium's global block; fails on a null or too
    // small block and on any medium but global memory.
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advise) override;

private:
    std::wstring text_;
};

}
