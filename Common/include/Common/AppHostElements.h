#pragma once
// Reading the IIS 7 store's elements: properties by name, child collections, and a walk over a
// collection in index order. Every failing call answers "nothing": a null pointer, no value, a
// count of 0, or the end of the walk.
#include "Common/AppHostAdmin.h"

#include <Framework/Handles.h>

#include <functional>
#include <optional>
#include <string>

namespace AppHost {

// Creates the application-host store object wherever COM finds it; E_NOINTERFACE when it answers
// no pointer.
HRESULT Create(Framework::ComPtr<IAppHostAdminManager>& manager);

// The section "system.applicationHost/sites" of "MACHINE/WEBROOT/APPHOST" and its collection of
// sites; null when a call fails. Throws std::bad_alloc when a BSTR cannot be allocated.
Framework::ComPtr<IAppHostElementCollection> Sites(IAppHostAdminManager* manager);

// The named property; null when it is missing or a name cannot be allocated.
Framework::ComPtr<IAppHostProperty> Property(IAppHostElement* element, const wchar_t* name);
// The property's text as stored (a null text counts as empty); none when it cannot be read.
std::optional<std::wstring> StringProperty(IAppHostElement* element, const wchar_t* name);
// The property's value when it is an integer VARIANT that holds a 32-bit signed value.
std::optional<long> IdProperty(IAppHostElement* element, const wchar_t* name);

Framework::ComPtr<IAppHostElementCollection> Children(IAppHostElement* element);
DWORD Count(IAppHostElementCollection* collection);

// How a collection is indexed: sites with 32-bit integers, applications and virtual directories
// with 16-bit ones.
enum class IndexKind { Int32, Int16 };

// Calls visit for each element in collection order until visit answers false; the walk also ends
// at the first element that cannot be read. False when the walk ended early for either reason.
bool ForEachElement(IAppHostElementCollection* collection, IndexKind kind,
                    const std::function<bool(IAppHostElement*)>& visit);

}
