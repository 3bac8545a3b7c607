#include "Framework/ComObject.h"

#include "Framework/Module.h"

namespace Framework {

namespace {

volatile LONG objectCount = 0;

}

long ServerCounts::AddObject() noexcept { return ::InterlockedIncrement(&objectCount); }
long ServerCounts::RemoveObject() noexcept { return ::InterlockedDecrement(&objectCount); }
long ServerCounts::Objects() noexcept { return ::InterlockedCompareExchange(&objectCount, 0, 0); }
// The lock count is the module object's own (an atomic, so every change is interlocked).
long ServerCounts::Lock() noexcept { return Module().Lock(); }
long ServerCounts::Unlock() noexcept { return Module().Unlock(); }
long ServerCounts::Locks() noexcept { return Module().GetLockCount(); }

HRESULT ServerCounts::CanUnloadNow() noexcept
{
    return Objects() == 0 && Locks() == 0 ? S_OK : S_FALSE;
}

HRESULT QueryInterfaceFromTable(void* object, const InterfaceEntry* table, REFIID iid, void** out) noexcept
{
    if (!out)
        return E_FAIL;
    *out = nullptr;
    if (!object || !table || !table[0].iid)
        return E_NOINTERFACE;
    if (::IsEqualIID(iid, IID_IUnknown)) {
        *out = table[0].cast(object);
        return S_OK;
    }
    for (const InterfaceEntry* entry = table; entry->iid; ++entry) {
        if (::IsEqualIID(iid, *entry->iid)) {
            *out = entry->cast(object);
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

}
