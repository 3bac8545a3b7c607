// The COM object base, the module counts and the class factory, called as a COM client would.
#include "Framework/ClassFactory.h"
#include "Framework/ComObject.h"
#include "Framework/Handles.h"

#include <gtest/gtest.h>

#include <oleidl.h>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

using namespace Framework;

namespace {

long destroyedSamples = 0;

// An object with two interfaces besides IUnknown.
class Sample final : public ComObject<Sample, IPersist, IOleWindow> {
public:
    ~Sample() override { ++destroyedSamples; }
    static const InterfaceEntry* InterfaceTable() noexcept
    {
        static const InterfaceEntry table[] = {
            InterfaceOf<Sample, IPersist>(IID_IPersist),
            InterfaceOf<Sample, IOleWindow>(IID_IOleWindow),
            {nullptr, nullptr},
        };
        return table;
    }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override
    {
        *id = IID_IPersist;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override
    {
        *window = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
};

HRESULT CreateSample(REFIID iid, void** out) { return CreateComObject<Sample>(iid, out); }

// An object whose constructor fails, as one that runs out of memory or meets a broken resource.
class Failing final : public ComObject<Failing, IPersist> {
public:
    explicit Failing(bool outOfMemory)
    {
        if (outOfMemory)
            throw std::bad_alloc();
        throw std::runtime_error("broken");
    }
    static const InterfaceEntry* InterfaceTable() noexcept
    {
        static const InterfaceEntry table[] = {
            InterfaceOf<Failing, IPersist>(IID_IPersist),
            {nullptr, nullptr},
        };
        return table;
    }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
};

// Creation functions that throw themselves, before any object exists.
HRESULT ThrowOutOfMemory(REFIID, void**) { throw std::bad_alloc(); }
HRESULT ThrowAnything(REFIID, void**) { throw 42; }

// {5F0B6E4C-2A71-4C5E-9D43-0E8B7A1C2D31}
const CLSID CLSID_Sample = {0x5f0b6e4c, 0x2a71, 0x4c5e, {0x9d, 0x43, 0x0e, 0x8b, 0x7a, 0x1c, 0x2d, 0x31}};
// {5F0B6E4C-2A71-4C5E-9D43-0E8B7A1C2D32}
const CLSID CLSID_Unknown = {0x5f0b6e4c, 0x2a71, 0x4c5e, {0x9d, 0x43, 0x0e, 0x8b, 0x7a, 0x1c, 0x2d, 0x32}};

const ClassEntry classes[] = {
    {&CLSID_Sample, &CreateSample},
    {nullptr, nullptr},
};

TEST(ComObject, QueryInterfaceAnswersFromTheTable)
{
    ComPtr<IPersist> persist;
    ASSERT_EQ(CreateSample(IID_IPersist, persist.ReceiveVoid()), S_OK);

    struct Case {
        const IID* iid;
        HRESULT result;
    };
    const Case cases[] = {
        {&IID_IUnknown, S_OK},
        {&IID_IPersist, S_OK},
        {&IID_IOleWindow, S_OK},
        {&IID_IClassFactory, E_NOINTERFACE},
        {&IID_IDataObject, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(persist->QueryInterface(*c.iid, &out), c.result);
        if (SUCCEEDED(c.result)) {
            ASSERT_NE(out, nullptr);
            static_cast<IUnknown*>(out)->Release();
        } else {
            EXPECT_EQ(out, nullptr);
        }
    }
    EXPECT_EQ(persist->QueryInterface(IID_IPersist, nullptr), E_FAIL);

    // Every interface gives the same IUnknown, and the second interface really is the object's.
    ComPtr<IOleWindow> window;
    ASSERT_EQ(persist.QueryInterface(IID_IOleWindow, window), S_OK);
    ComPtr<IUnknown> fromPersist;
    ComPtr<IUnknown> fromWindow;
    ASSERT_EQ(persist.QueryInterface(IID_IUnknown, fromPersist), S_OK);
    ASSERT_EQ(window.QueryInterface(IID_IUnknown, fromWindow), S_OK);
    EXPECT_EQ(fromPersist.Get(), fromWindow.Get());
    HWND hwnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(window->GetWindow(&hwnd), E_NOTIMPL);
    EXPECT_EQ(hwnd, nullptr);
}

TEST(ComObject, CountsReferencesAndLiveObjects)
{
    long liveBefore = ServerCounts::Objects();
    long destroyedBefore = destroyedSamples;
    IPersist* persist = nullptr;
    ASSERT_EQ(CreateSample(IID_IPersist, reinterpret_cast<void**>(&persist)), S_OK);
    EXPECT_EQ(ServerCounts::Objects(), liveBefore + 1);
    EXPECT_EQ(persist->AddRef(), 2u);
    EXPECT_EQ(persist->Release(), 1u);
    EXPECT_EQ(destroyedSamples, destroyedBefore);
    EXPECT_EQ(persist->Release(), 0u);
    EXPECT_EQ(destroyedSamples, destroyedBefore + 1);
    EXPECT_EQ(ServerCounts::Objects(), liveBefore);

    // Creation for an interface the object lacks destroys it again and leaves the count as it was.
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateSample(IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(destroyedSamples, destroyedBefore + 2);
    EXPECT_EQ(ServerCounts::Objects(), liveBefore);
    EXPECT_EQ(CreateSample(IID_IPersist, nullptr), E_FAIL);
}

TEST(ComObject, NoExceptionLeavesCreation)
{
    const long liveBefore = ServerCounts::Objects();
    const struct {
        bool outOfMemory;
        HRESULT result;
    } cases[] = {{true, E_OUTOFMEMORY}, {false, E_FAIL}};
    for (const auto& c : cases) {
        void* out = reinterpret_cast<void*>(1);
        HRESULT result = S_OK;
        EXPECT_NO_THROW(result = CreateComObject<Failing>(IID_IPersist, &out, c.outOfMemory));
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(out, nullptr);
        // The half-built object was unwound: it does not keep the server loaded.
        EXPECT_EQ(ServerCounts::Objects(), liveBefore);
    }
}

TEST(ClassFactory, NoExceptionLeavesCreateInstance)
{
    // {5F0B6E4C-2A71-4C5E-9D43-0E8B7A1C2D33}, {...34}
    const CLSID outOfMemory = {0x5f0b6e4c, 0x2a71, 0x4c5e, {0x9d, 0x43, 0x0e, 0x8b, 0x7a, 0x1c, 0x2d, 0x33}};
    const CLSID anything = {0x5f0b6e4c, 0x2a71, 0x4c5e, {0x9d, 0x43, 0x0e, 0x8b, 0x7a, 0x1c, 0x2d, 0x34}};
    const ClassEntry throwing[] = {
        {&outOfMemory, &ThrowOutOfMemory},
        {&anything, &ThrowAnything},
        {nullptr, nullptr},
    };
    const struct {
        const CLSID* clsid;
        HRESULT result;
    } cases[] = {{&outOfMemory, E_OUTOFMEMORY}, {&anything, E_FAIL}};
    for (const auto& c : cases) {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(GetClassObject(throwing, *c.clsid, IID_IClassFactory, factory.ReceiveVoid()), S_OK);
        void* out = reinterpret_cast<void*>(1);
        HRESULT result = S_OK;
        EXPECT_NO_THROW(result = factory->CreateInstance(nullptr, IID_IPersist, &out));
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(out, nullptr);
    }
    EXPECT_EQ(ServerCounts::CanUnloadNow(), S_OK);
}

TEST(ComObject, ReferenceCountIsInterlocked)
{
    ComPtr<IPersist> persist;
    ASSERT_EQ(CreateSample(IID_IPersist, persist.ReceiveVoid()), S_OK);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&persist] {
            for (int i = 0; i < 20000; ++i) {
                persist->AddRef();
                persist->Release();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(static_cast<Sample*>(persist.Get())->ReferenceCount(), 1);
}

// A part of another object, as a frame's callback or a data object on the stack.
class Part final : public UncountedComObject<Part, IPersist> {
public:
    static const InterfaceEntry* InterfaceTable() noexcept
    {
        static const InterfaceEntry table[] = {InterfaceOf<Part, IPersist>(IID_IPersist), {nullptr, nullptr}};
        return table;
    }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override
    {
        *id = IID_IPersist;
        return S_OK;
    }
};

TEST(UncountedComObject, AnswersFromTheTableCountsNothingAndIsNeverEndedByRelease)
{
    const long objects = ServerCounts::Objects();
    Part part;
    IPersist* self = &part;
    for (const IID* iid : {&IID_IUnknown, &IID_IPersist}) {
        void* out = nullptr;
        EXPECT_EQ(part.QueryInterface(*iid, &out), S_OK);
        EXPECT_EQ(out, self);
    }
    void* out = self;
    EXPECT_EQ(part.QueryInterface(IID_IOleWindow, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(part.QueryInterface(IID_IPersist, nullptr), E_FAIL);

    // A client's last Release leaves the object to its owner.
    EXPECT_EQ(self->AddRef(), 0u);
    EXPECT_EQ(self->Release(), 0u);
    EXPECT_EQ(self->Release(), 0u);
    CLSID id{};
    EXPECT_EQ(self->GetClassID(&id), S_OK);
    EXPECT_EQ(ServerCounts::Objects(), objects);
}

TEST(ClassFactory, GetClassObjectChecksInOrder)
{
    struct Case {
        const CLSID* clsid;
        const IID* iid;
        bool nullOut;
        HRESULT result;
    };
    const Case cases[] = {
        {&CLSID_Unknown, &IID_IClassFactory, true, CLASS_E_CLASSNOTAVAILABLE},  // class before out pointer
        {&CLSID_Unknown, &IID_IClassFactory, false, CLASS_E_CLASSNOTAVAILABLE},
        {&CLSID_Sample, &IID_IClassFactory, true, E_FAIL},
        {&CLSID_Sample, &IID_IPersist, false, E_NOINTERFACE},
        {&CLSID_Sample, &IID_IClassFactory, false, S_OK},
        {&CLSID_Sample, &IID_IUnknown, false, S_OK},
    };
    long liveBefore = ServerCounts::Objects();
    for (const Case& c : cases) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(GetClassObject(classes, *c.clsid, *c.iid, c.nullOut ? nullptr : &out), c.result);
        if (c.result == S_OK) {
            ASSERT_NE(out, nullptr);
            EXPECT_EQ(ServerCounts::Objects(), liveBefore + 1);
            EXPECT_EQ(static_cast<IUnknown*>(out)->Release(), 0u);
        } else if (c.result != CLASS_E_CLASSNOTAVAILABLE && !c.nullOut) {
            EXPECT_EQ(out, nullptr);
        }
        EXPECT_EQ(ServerCounts::Objects(), liveBefore);
    }
}

TEST(ClassFactory, CreateInstanceAndServerLocks)
{
    ASSERT_EQ(ServerCounts::CanUnloadNow(), S_OK);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(GetClassObject(classes, CLSID_Sample, IID_IClassFactory, factory.ReceiveVoid()), S_OK);
    EXPECT_EQ(static_cast<ClassFactory*>(factory.Get())->ReferenceCount(), 1);
    EXPECT_EQ(ServerCounts::CanUnloadNow(), S_FALSE);

    {
        Sample outer;
        struct Case {
            IUnknown* outer;
            const IID* iid;
            bool nullOut;
            HRESULT result;
        };
        const Case cases[] = {
            {nullptr, &IID_IPersist, true, E_FAIL},
            {static_cast<IPersist*>(&outer), &IID_IPersist, true, E_FAIL},
            {static_cast<IPersist*>(&outer), &IID_IPersist, false, CLASS_E_NOAGGREGATION},
            {nullptr, &IID_IClassFactory, false, E_NOINTERFACE},
            {nullptr, &IID_IOleWindow, false, S_OK},
        };
        long liveBefore = ServerCounts::Objects();
        for (const Case& c : cases) {
            void* out = reinterpret_cast<void*>(1);
            EXPECT_EQ(factory->CreateInstance(c.outer, *c.iid, c.nullOut ? nullptr : &out), c.result);
            if (c.result == S_OK) {
                ASSERT_NE(out, nullptr);
                EXPECT_EQ(ServerCounts::Objects(), liveBefore + 1);
                static_cast<IUnknown*>(out)->Release();
            } else if (!c.nullOut) {
                EXPECT_EQ(out, nullptr);
            }
            EXPECT_EQ(ServerCounts::Objects(), liveBefore);
        }
    }

    // A lock keeps the server loaded after every object is gone, until it is given back.
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    EXPECT_EQ(ServerCounts::Objects(), 0);
    EXPECT_EQ(ServerCounts::Locks(), 1);
    EXPECT_EQ(ServerCounts::CanUnloadNow(), S_FALSE);
    ASSERT_EQ(GetClassObject(classes, CLSID_Sample, IID_IClassFactory, factory.ReceiveVoid()), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(ServerCounts::Locks(), 0);
    EXPECT_EQ(ServerCounts::CanUnloadNow(), S_FALSE);
    factory.Reset();
    EXPECT_EQ(ServerCounts::CanUnloadNow(), S_OK);
}

}
