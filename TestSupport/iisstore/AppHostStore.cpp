#include "AppHostStore.h"

#include "Framework/ComValues.h"

namespace IisStore {

namespace {

const wchar_t sitesSection[] = L"system.applicationHost/sites";
const wchar_t appHostPath[] = L"MACHINE/WEBROOT/APPHOST";
// What the store answers for a missing property, element or index.
const HRESULT notFound = HRESULT_FROM_WIN32(ERROR_INVALID_INDEX);

std::wstring Text(BSTR value)
{
    return std::wstring(value ? value : L"", ::SysStringLen(value));
}

HRESULT HandOut(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    *out = Framework::Bstr(text).Detach();
    return S_OK;
}

// The integer in an index VARIANT; false for any other type.
bool IndexOf(const VARIANT& index, long long& value)
{
    switch (index.vt) {
    case VT_I1: value = index.cVal; return true;
    case VT_UI1: value = index.bVal; return true;
    case VT_I2: value = index.iVal; return true;
    case VT_UI2: value = index.uiVal; return true;
    case VT_I4: value = index.lVal; return true;
    case VT_UI4: value = index.ulVal; return true;
    case VT_INT: value = index.intVal; return true;
    case VT_UINT: value = index.uintVal; return true;
    default: return false;
    }
}

}

const Framework::InterfaceEntry* AdminManager::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<AdminManager, IAppHostAdminManager>(IID_IAppHostAdminManager),
        {nullptr, nullptr},
    };
    return table;
}

HRESULT STDMETHODCALLTYPE AdminManager::GetAdminSection(BSTR sectionName, BSTR path, IAppHostElement** section)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!section)
            return E_POINTER;
        *section = nullptr;
        if (!sectionName || !path)
            return E_INVALIDARG;
        if (Text(sectionName) != sitesSection || Text(path) != appHostPath)
            return notFound;
        Position position;
        position.description = description_;
        return Framework::CreateComObject<Element>(IID_IAppHostElement, reinterpret_cast<void**>(section), position);
    });
}

const Framework::InterfaceEntry* Element::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<Element, IAppHostElement>(IID_IAppHostElement),
        {nullptr, nullptr},
    };
    return table;
}

HRESULT STDMETHODCALLTYPE Element::get_Name(BSTR* name)
{
    return Framework::GuardedCall([&] {
        const wchar_t* text = position_.directory ? L"virtualDirectory"
                              : position_.application ? L"application"
                              : position_.site       ? L"site"
                                                     : L"sites";
        return HandOut(text, name);
    });
}

HRESULT STDMETHODCALLTYPE Element::get_Collection(IAppHostElementCollection** collection)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!collection)
            return E_POINTER;
        *collection = nullptr;
        if (position_.directory)
            return notFound;
        return Framework::CreateComObject<ElementCollection>(IID_IAppHostElementCollection,
                                                             reinterpret_cast<void**>(collection), position_);
    });
}

HRESULT STDMETHODCALLTYPE Element::GetPropertyByName(BSTR name, IAppHostProperty** property)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!property)
            return E_POINTER;
        *property = nullptr;
        if (!name)
            return E_INVALIDARG;
        void** out = reinterpret_cast<void**>(property);
        std::wstring wanted = Text(name);
        if (position_.directory) {
            if (wanted == L"path")
                return Framework::CreateComObject<Property>(IID_IAppHostProperty, out, wanted, position_.directory->path);
            if (wanted == L"physicalPath")
                return Framework::CreateComObject<Property>(IID_IAppHostProperty, out, wanted,
                                                            position_.directory->physicalPath);
        } else if (position_.application) {
            if (wanted == L"path")
                return Framework::CreateComObject<Property>(IID_IAppHostProperty, out, wanted,
                                                            position_.application->path);
        } else if (position_.site) {
            if (wanted == L"id")
                return Framework::CreateComObject<Property>(IID_IAppHostProperty, out, wanted, position_.site->id,
                                                            position_.site->idAsText);
            if (wanted == L"name")
                return Framework::CreateComObject<Property>(IID_IAppHostProperty, out, wanted, position_.site->name);
        }
        return notFound;
    });
}

const Framework::InterfaceEntry* ElementCollection::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<ElementCollection, IAppHostElementCollection>(IID_IAppHostElementCollection),
        {nullptr, nullptr},
    };
    return table;
}

size_t ElementCollection::Count() const noexcept
{
    if (parent_.application)
        return parent_.application->directories.size();
    if (parent_.site)
        return parent_.site->applications.size();
    return parent_.description->sites.size();
}

HRESULT STDMETHODCALLTYPE ElementCollection::get_Count(DWORD* count)
{
    if (!count)
        return E_POINTER;
    *count = static_cast<DWORD>(Count());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ElementCollection::get_Item(VARIANT index, IAppHostElement** element)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!element)
            return E_POINTER;
        *element = nullptr;
        long long at = 0;
        if (!IndexOf(index, at))
            return E_INVALIDARG;
        if (at < 0 || static_cast<unsigned long long>(at) >= Count())
            return notFound;
        size_t i = static_cast<size_t>(at);
        Position child = parent_;
        if (parent_.application)
            child.directory = &parent_.application->directories[i];
        else if (parent_.site)
            child.application = &parent_.site->applications[i];
        else
            child.site = &parent_.description->sites[i];
        return Framework::CreateComObject<Element>(IID_IAppHostElement, reinterpret_cast<void**>(element), child);
    });
}

const Framework::InterfaceEntry* Property::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<Property, IAppHostProperty>(IID_IAppHostProperty),
        {nullptr, nullptr},
    };
    return table;
}

HRESULT STDMETHODCALLTYPE Property::get_Name(BSTR* name)
{
    return Framework::GuardedCall([&] { return HandOut(name_, name); });
}

HRESULT STDMETHODCALLTYPE Property::get_Value(VARIANT* value)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!value)
            return E_POINTER;
        Framework::Variant result = isNumber_ ? Framework::Variant::Int32(number_) : Framework::Variant::Text(text_);
        ::VariantInit(value);
        result.Detach(value);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE Property::get_StringValue(BSTR* value)
{
    return Framework::GuardedCall([&] { return HandOut(text_, value); });
}

}
