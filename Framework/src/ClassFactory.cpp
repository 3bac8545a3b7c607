#include "Framework/ClassFactory.h"

namespace Framework {

const InterfaceEntry* ClassFactory::InterfaceTable() noexcept
{
    static const InterfaceEntry table[] = {
        InterfaceOf<ClassFactory, IClassFactory>(IID_IClassFactory),
        {nullptr, nullptr},
    };
    return table;
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out)
        return E_FAIL;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!create_)
        return E_FAIL;
    return GuardedCall([&] { return create_(iid, out); });
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        ServerCounts::Lock();
    else
        ServerCounts::Unlock();
    return S_OK;
}

HRESULT GetClassObject(const ClassEntry* table, REFCLSID clsid, REFIID iid, void** out) noexcept
{
    const ClassEntry* found = nullptr;
    for (const ClassEntry* entry = table; entry && entry->clsid; ++entry) {
        if (::IsEqualCLSID(clsid, *entry->clsid)) {
            found = entry;
            break;
        }
    }
    if (!found)
        return CLASS_E_CLASSNOTAVAILABLE;
    if (!out)
        return E_FAIL;
    *out = nullptr;
    if (!::IsEqualIID(iid, IID_IUnknown) && !::IsEqualIID(iid, IID_IClassFactory))
        return E_NOINTERFACE;
    return CreateComObject<ClassFactory>(iid, out, found->create);
}

}
