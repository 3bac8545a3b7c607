#pragma once
// The two IIS configuration stores as COM sees them. The metabase interface (IMSAdminBaseW, its
// records, identifiers and error codes) comes from the toolchain's iadmw.h and iiscnfg.h; the
// application-host store's four interfaces have no header there and are declared here in their
// published slot order. Interfaces that are never called are only named.
// The GUIDs of iadmw.h and those below are defined once, in AppHostAdmin.cpp: link Common and do
// not include <initguid.h> before iadmw.h anywhere else.
#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

#include <iadmw.h>
#include <iiscnfg.h>

struct IAppHostConfigManager;
struct IAppHostPropertyCollection;
struct IAppHostChildElementCollection;
struct IAppHostElementSchema;
struct IAppHostMethodCollection;
struct IAppHostCollectionSchema;
struct IAppHostPropertyException;
struct IAppHostPropertySchema;

struct IAppHostElement;
struct IAppHostElementCollection;
struct IAppHostProperty;

// The metabase's wide-character interface ({70B51430-B6CA-11D0-B9B9-00A0C922E750}); iadmw.h
// declares the name but defines only IID_IMSAdminBase_W.
// Class of the metabase store: CLSID_MSAdminBase_W {A9E69610-B80D-11D0-B9B9-00A0C922E750}.

// Class of the application-host store: {228FB8F7-FB53-4FD5-8C7B-FF59DE606C5B}.
EXTERN_C const CLSID CLSID_AppHostAdminManager;
// {9BE77978-73ED-4A9A-87FD-13F09FEC1B13}
EXTERN_C const IID IID_IAppHostAdminManager;
// {64FF8CCC-B287-4DAE-B08A-A72CBF45F453}
EXTERN_C const IID IID_IAppHostElement;
// {C8550BFF-5281-4B1E-AC34-99B6FA38464D}
EXTERN_C const IID IID_IAppHostElementCollection;
// {ED35F7A1-5024-4E7B-A44D-07DDAF4B524D}
EXTERN_C const IID IID_IAppHostProperty;

struct IAppHostAdminManager : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetAdminSection(BSTR sectionName, BSTR path, IAppHostElement** section) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMetadata(BSTR metadataType, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMetadata(BSTR metadataType, VARIANT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ConfigManager(IAppHostConfigManager** configManager) = 0;
};

struct IAppHostElement : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Collection(IAppHostElementCollection** collection) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Properties(IAppHostPropertyCollection** properties) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ChildElements(IAppHostChildElementCollection** elements) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMetadata(BSTR metadataType, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMetadata(BSTR metadataType, VARIANT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Schema(IAppHostElementSchema** schema) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetElementByName(BSTR subName, IAppHostElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPropertyByName(BSTR subName, IAppHostProperty** property) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Methods(IAppHostMethodCollection** methods) = 0;
};

struct IAppHostElementCollection : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Count(DWORD* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IAppHostElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddElement(IAppHostElement* element, INT position) = 0;
    virtual HRESULT STDMETHODCALLTYPE DeleteElement(VARIANT index) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateNewElement(BSTR elementName, IAppHostElement** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Schema(IAppHostCollectionSchema** schema) = 0;
};

struct IAppHostProperty : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Value(VARIANT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_StringValue(BSTR* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Exception(IAppHostPropertyException** exception) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMetadata(BSTR metadataType, VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetMetadata(BSTR metadataType, VARIANT value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Schema(IAppHostPropertySchema** schema) = 0;
};
