#include "Common/AppHostElements.h"

#include <Framework/ComValues.h>

#include <climits>

namespace AppHost {

namespace {

using Framework::Bstr;
using Framework::ComPtr;
using Framework::Variant;

constexpr wchar_t kSitesSection[] = L"system.applicationHost/sites";
constexpr wchar_t kConfigPath[] = L"MACHINE/WEBROOT/APPHOST";
// The largest index a 16-bit integer VARIANT can carry.
constexpr DWORD kMaxShortIndex = SHRT_MAX;

}

HRESULT Create(ComPtr<IAppHostAdminManager>& manager)
{
    const HRESULT result = ::CoCreateInstance(CLSID_AppHostAdminManager, nullptr, Framework::kAnyServerContext,
                                              IID_IAppHostAdminManager, manager.ReceiveVoid());
    if (FAILED(result))
        return result;
    return manager ? S_OK : E_NOINTERFACE;
}

ComPtr<IAppHostElementCollection> Sites(IAppHostAdminManager* manager)
{
    if (!manager)
        return nullptr;
    Bstr sectionName{std::wstring(kSitesSection)}, path{std::wstring(kConfigPath)};
    ComPtr<IAppHostElement> section;
    if (FAILED(manager->GetAdminSection(sectionName.Get(), path.Get(), section.Receive())))
        return nullptr;
    return Children(section.Get());
}

ComPtr<IAppHostProperty> Property(IAppHostElement* element, const wchar_t* name)
{
    ComPtr<IAppHostProperty> property;
    if (!element)
        return property;
    try {
        Bstr propertyName{std::wstring(name)};
        if (FAILED(element->GetPropertyByName(propertyName.Get(), property.Receive())))
            property.Reset();
    } catch (...) {
        property.Reset();
    }
    return property;
}

std::optional<std::wstring> StringProperty(IAppHostElement* element, const wchar_t* name)
{
    ComPtr<IAppHostProperty> property = Property(element, name);
    if (!property)
        return std::nullopt;
    Bstr value;
    if (FAILED(property->get_StringValue(value.Receive())))
        return std::nullopt;
    return value.Text();
}

std::optional<long> IdProperty(IAppHostElement* element, const wchar_t* name)
{
    ComPtr<IAppHostProperty> property = Property(element, name);
    if (!property)
        return std::nullopt;
    Variant value;
    if (FAILED(property->get_Value(value.Receive())))
        return std::nullopt;
    const VARIANT& v = value.Get();
    switch (v.vt) {
    case VT_I4:
        return static_cast<long>(v.lVal);
    case VT_UI4:
        return v.ulVal <= static_cast<ULONG>(LONG_MAX) ? std::optional<long>(static_cast<long>(v.ulVal)) : std::nullopt;
    case VT_INT:
        return static_cast<long>(v.intVal);
    case VT_UINT:
        return v.uintVal <= static_cast<UINT>(LONG_MAX) ? std::optional<long>(static_cast<long>(v.uintVal)) : std::nullopt;
    case VT_I2:
        return static_cast<long>(v.iVal);
    case VT_UI2:
        return static_cast<long>(v.uiVal);
    default:
        return std::nullopt;
    }
}

ComPtr<IAppHostElementCollection> Children(IAppHostElement* element)
{
    ComPtr<IAppHostElementCollection> collection;
    if (!element || FAILED(element->get_Collection(collection.Receive())))
        collection.Reset();
    return collection;
}

DWORD Count(IAppHostElementCollection* collection)
{
    DWORD count = 0;
    if (!collection || FAILED(collection->get_Count(&count)))
        return 0;
    return count;
}

bool ForEachElement(IAppHostElementCollection* collection, IndexKind kind,
                    const std::function<bool(IAppHostElement*)>& visit)
{
    const DWORD count = Count(collection);
    const DWORD last = kind == IndexKind::Int16 ? kMaxShortIndex : static_cast<DWORD>(LONG_MAX);
    for (DWORD index = 0; index < count && index <= last; ++index) {
        const Variant position = kind == IndexKind::Int16 ? Variant::Int16(static_cast<SHORT>(index))
                                                          : Variant::Int32(static_cast<LONG>(index));
        ComPtr<IAppHostElement> element;
        if (FAILED(collection->get_Item(position.Get(), element.Receive())) || !element || !visit(element.Get()))
            return false;
    }
    return true;
}

}
