#pragma once
// The IUnknown half of our COM classes: an interlocked reference count that starts at 0 (or none,
// for an object that another owns), an interface table for QueryInterface, and the module's counts
// of live objects and server locks that decide whether an in-process server may be unloaded.
#include <windows.h>
#include <objbase.h>
#include <new>

namespace Framework {

// Live COM objects and server locks of this module. Every change is an interlocked operation, so
// DllCanUnloadNow may ask from any thread.
class ServerCounts {
public:
    static long AddObject() noexcept;
    static long RemoveObject() noexcept;
    static long Objects() noexcept;
    static long Lock() noexcept;
    static long Unlock() noexcept;
    static long Locks() noexcept;
    // S_OK when no object is alive and no lock is held, else S_FALSE.
    static HRESULT CanUnloadNow() noexcept;
};

// One row of an interface table: the interface id and how to reach that interface from the object.
struct InterfaceEntry {
    const IID* iid;
    void* (*cast)(void* object);
};

// Casts the object (given as its most derived type) to interface I, for an InterfaceEntry.
template <typename Derived, typename I>
void* CastToInterface(void* object) noexcept
{
    return static_cast<I*>(static_cast<Derived*>(object));
}

template <typename Derived, typename I>
constexpr InterfaceEntry InterfaceOf(const IID& iid) noexcept
{
    return InterfaceEntry{&iid, &CastToInterface<Derived, I>};
}

// Looks iid up in a table ended by a row with a null iid. IUnknown is answered by the first row,
// so every interface of one object hands out the same IUnknown pointer.
// A null out pointer gives E_FAIL (the answer of every COM object of ours); a missing interface
// gives E_NOINTERFACE with *out cleared.
HRESULT QueryInterfaceFromTable(void* object, const InterfaceEntry* table, REFIID iid, void** out) noexcept;

// Base of a COM class Derived that implements the interfaces Interfaces... (each derived from
// IUnknown). Derived gives `static const InterfaceEntry* InterfaceTable()`. The object counts as
// live from construction to destruction; the last Release deletes it.
template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() noexcept { ServerCounts::AddObject(); }
    virtual ~ComObject() { ServerCounts::RemoveObject(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        HRESULT result = QueryInterfaceFromTable(static_cast<Derived*>(this), Derived::InterfaceTable(), iid, out);
        if (SUCCEEDED(result))
            static_cast<IUnknown*>(*out)->AddRef();
        return result;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = ::InterlockedDecrement(&references_);
        if (left == 0)
            delete static_cast<Derived*>(this);
        return static_cast<ULONG>(left);
    }

    LONG ReferenceCount() const noexcept { return references_; }

private:
    volatile LONG references_ = 0;
};

// Base of a COM class Derived whose object is part of another object or lives on the stack, so that
// its owner ends it and nothing counts references: AddRef and Release change nothing and answer 0,
// and QueryInterface takes none. Derived gives `static const InterfaceEntry* InterfaceTable()`.
template <typename Derived, typename... Interfaces>
class UncountedComObject : public Interfaces... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return QueryInterfaceFromTable(static_cast<Derived*>(this), Derived::InterfaceTable(), iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 0; }
    ULONG STDMETHODCALLTYPE Release() override { return 0; }

protected:
    UncountedComObject() = default;
    ~UncountedComObject() = default;
};

// Runs the body of a COM method so that no exception leaves it: std::bad_alloc becomes
// E_OUTOFMEMORY, anything else E_FAIL.
template <typename Body>
HRESULT GuardedCall(Body&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
}

// Creates a T (reference count 0) and hands it out through its own QueryInterface, which takes the
// first reference. When that fails the object is destroyed as by its last Release and the failure
// is returned. E_OUTOFMEMORY when it cannot be allocated, E_FAIL when its constructor throws
// anything else; no exception leaves.
template <typename T, typename... Args>
HRESULT CreateComObject(REFIID iid, void** out, Args&&... args) noexcept
{
    if (!out)
        return E_FAIL;
    *out = nullptr;
    T* object = nullptr;
    try {
        object = new T(static_cast<Args&&>(args)...);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
    object->AddRef();
    HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
}

}
