#pragma once
// The class factory of an in-process server and the lookup behind DllGetClassObject.
#include "Framework/ComObject.h"

namespace Framework {

// Creates one new object and hands it out as iid (see CreateComObject).
using CreateFunction = HRESULT (*)(REFIID iid, void** out);

class ClassFactory final : public ComObject<ClassFactory, IClassFactory> {
public:
    explicit ClassFactory(CreateFunction create) noexcept : create_(create) {}

    static const InterfaceEntry* InterfaceTable() noexcept;

    // Null out pointer: E_FAIL; an outer object: CLASS_E_NOAGGREGATION; else the creation function.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    // TRUE takes a server lock, FALSE gives one back.
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    CreateFunction create_;
};

// One class the server offers; a table of them ends with a null clsid.
struct ClassEntry {
    const CLSID* clsid;
    CreateFunction create;
};

// DllGetClassObject over a class table, in this order: an unknown class gives
// CLASS_E_CLASSNOTAVAILABLE (before out is looked at); a null out pointer E_FAIL; an iid other than
// IUnknown or IClassFactory E_NOINTERFACE; else a new factory, E_OUTOFMEMORY when none can be made.
HRESULT GetClassObject(const ClassEntry* table, REFCLSID clsid, REFIID iid, void** out) noexcept;

}
