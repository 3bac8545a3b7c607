#pragma once
// The application-host stand-in: the admin manager, elements, element collections and properties
// of the "system.applicationHost/sites" section, answered from a site description. Methods that
// the programs never call give E_NOTIMPL.
#include "SiteDescription.h"

#include "Common/AppHostAdmin.h"
#include "Framework/ComObject.h"

#include <memory>
#include <string>

namespace IisStore {

using DescriptionPtr = std::shared_ptr<const SiteDescription>;

class AdminManager final : public Framework::ComObject<AdminManager, IAppHostAdminManager> {
public:
    explicit AdminManager(DescriptionPtr description) noexcept : description_(std::move(description)) {}
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    // Only "system.applicationHost/sites" of "MACHINE/WEBROOT/APPHOST" exists.
    HRESULT STDMETHODCALLTYPE GetAdminSection(BSTR sectionName, BSTR path, IAppHostElement** section) override;
    HRESULT STDMETHODCALLTYPE GetMetadata(BSTR, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMetadata(BSTR, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ConfigManager(IAppHostConfigManager**) override { return E_NOTIMPL; }

private:
    DescriptionPtr description_;
};

// Where an element or collection sits: the sites section, a site, an application of it, or a
// virtual directory of that application.
struct Position {
    DescriptionPtr description;
    const Site* site = nullptr;
    const Application* application = nullptr;
    const VirtualDirectory* directory = nullptr;
};

class Element final : public Framework::ComObject<Element, IAppHostElement> {
public:
    explicit Element(Position position) noexcept : position_(std::move(position)) {}
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override;
    // The sites of the section, the applications of a site, the virtual directories of an
    // application; a virtual directory has no collection.
    HRESULT STDMETHODCALLTYPE get_Collection(IAppHostElementCollection** collection) override;
    // "id" and "name" of a site, "path" of an application, "path" and "physicalPath" of a virtual
    // directory (names compared exactly).
    HRESULT STDMETHODCALLTYPE GetPropertyByName(BSTR name, IAppHostProperty** property) override;

    HRESULT STDMETHODCALLTYPE get_Properties(IAppHostPropertyCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ChildElements(IAppHostChildElementCollection**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMetadata(BSTR, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMetadata(BSTR, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Schema(IAppHostElementSchema**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetElementByName(BSTR, IAppHostElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Methods(IAppHostMethodCollection**) override { return E_NOTIMPL; }

private:
    Position position_;
};

class ElementCollection final : public Framework::ComObject<ElementCollection, IAppHostElementCollection> {
public:
    // The children of the element at position.
    explicit ElementCollection(Position parent) noexcept : parent_(std::move(parent)) {}
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    HRESULT STDMETHODCALLTYPE get_Count(DWORD* count) override;
    // Any integer VARIANT from 0 to count - 1.
    HRESULT STDMETHODCALLTYPE get_Item(VARIANT index, IAppHostElement** element) override;

    HRESULT STDMETHODCALLTYPE AddElement(IAppHostElement*, INT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteElement(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateNewElement(BSTR, IAppHostElement**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Schema(IAppHostCollectionSchema**) override { return E_NOTIMPL; }

private:
    size_t Count() const noexcept;

    Position parent_;
};

class Property final : public Framework::ComObject<Property, IAppHostProperty> {
public:
    // A text property (get_Value gives VT_BSTR) ...
    Property(std::wstring name, std::wstring text) : name_(std::move(name)), text_(std::move(text)) {}
    // ... or a number (VT_I4, or VT_BSTR of its digits when the description asks for the odd type).
    Property(std::wstring name, long number, bool numberAsText)
        : name_(std::move(name)), text_(std::to_wstring(number)), isNumber_(!numberAsText), number_(number)
    {
    }
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_Value(VARIANT* value) override;
    HRESULT STDMETHODCALLTYPE get_StringValue(BSTR* value) override;

    HRESULT STDMETHODCALLTYPE put_Value(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Exception(IAppHostPropertyException**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMetadata(BSTR, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetMetadata(BSTR, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Schema(IAppHostPropertySchema**) override { return E_NOTIMPL; }

private:
    std::wstring name_;
    std::wstring text_;
    bool isNumber_ = false;
    long number_ = 0;
};

}
