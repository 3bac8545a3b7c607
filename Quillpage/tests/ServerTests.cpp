// The real Quillpage.dll loaded as a host loads it: its exports, the class factory's answers, the
// object and lock counts behind DllCanUnloadNow, and the About object.
#include <Common/ModuleVersionInfo.h>
#include <Common/SnapinInterfaces.h>
#include <Framework/Handles.h>
#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const CLSID kExtension = {0x8BC324A4, 0x8A49, 0x4E7A, {0xB2, 0xBF, 0x6E, 0xD3, 0xE5, 0x63, 0x0C, 0x2F}};
const CLSID kAbout = {0xEFA41C35, 0xF062, 0x46F7, {0xB1, 0xA6, 0x2A, 0xFA, 0x25, 0x39, 0x00, 0xB3}};
const CLSID kOther = {0x12345678, 0x1234, 0x1234, {0x12, 0x34, 0x12, 0x34, 0x12, 0x34, 0x12, 0x34}};

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using EntryFunction = HRESULT(STDAPICALLTYPE*)();

void* const kUntouched = reinterpret_cast<void*>(static_cast<uintptr_t>(0x5A5A5A5A));

class ServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        library_ = new Framework::ScopedLibrary(::LoadLibraryW((TestSupport::BuildFolder() + L"\\bin\\Quillpage.dll").c_str()));
    }
    static void TearDownTestSuite()
    {
        delete library_;
        library_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(*library_) << "Quillpage.dll did not load: " << ::GetLastError();
        getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
            reinterpret_cast<void*>(::GetProcAddress(library_->Get(), "DllGetClassObject")));
        canUnloadNow_ =
            reinterpret_cast<EntryFunction>(reinterpret_cast<void*>(::GetProcAddress(library_->Get(), "DllCanUnloadNow")));
        ASSERT_NE(getClassObject_, nullptr);
        ASSERT_NE(canUnloadNow_, nullptr);
        ASSERT_EQ(canUnloadNow_(), S_OK) << "a test before this one left an object or a lock";
    }
    void TearDown() override
    {
        if (canUnloadNow_) {
            EXPECT_EQ(canUnloadNow_(), S_OK) << "an object or a lock was left";
        }
    }

    Framework::ComPtr<IClassFactory> Factory(const CLSID& clsid)
    {
        Framework::ComPtr<IClassFactory> factory;
        EXPECT_EQ(getClassObject_(clsid, IID_IClassFactory, factory.ReceiveVoid()), S_OK);
        return factory;
    }

    Framework::ComPtr<ISnapinAbout> About()
    {
        Framework::ComPtr<ISnapinAbout> about;
        Framework::ComPtr<IClassFactory> factory = Factory(kAbout);
        if (factory) {
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_ISnapinAbout, about.ReceiveVoid()), S_OK);
        }
        return about;
    }

    static Framework::ScopedLibrary* library_;
    GetClassObjectFunction getClassObject_ = nullptr;
    EntryFunction canUnloadNow_ = nullptr;
};

Framework::ScopedLibrary* ServerTest::library_ = nullptr;

std::wstring Describe(const CLSID& clsid)
{
    return IsEqualCLSID(clsid, kExtension) ? L"extension" : IsEqualCLSID(clsid, kAbout) ? L"about" : L"other";
}

TEST_F(ServerTest, ExportsAreUndecoratedNames)
{
    for (const char* name : {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(::GetProcAddress(library_->Get(), name), nullptr) << name;
}

TEST_F(ServerTest, GetClassObjectAnswersInItsOrder)
{
    struct Case {
        const CLSID* clsid;
        const IID* iid;
        bool nullOut;
        HRESULT result;
        void* outAfter;  // kUntouched: not written
    };
    const Case cases[] = {
        // The class is checked before the out pointer, and an unknown class leaves it alone.
        {&kOther, &IID_IClassFactory, true, CLASS_E_CLASSNOTAVAILABLE, nullptr},
        {&kOther, &IID_IClassFactory, false, CLASS_E_CLASSNOTAVAILABLE, kUntouched},
        {&kOther, &IID_IUnknown, false, CLASS_E_CLASSNOTAVAILABLE, kUntouched},
        {&kExtension, &IID_IClassFactory, true, E_FAIL, nullptr},
        {&kAbout, &IID_IUnknown, true, E_FAIL, nullptr},
        {&kExtension, &IID_IDispatch, false, E_NOINTERFACE, nullptr},
        {&kAbout, &IID_ISnapinAbout, false, E_NOINTERFACE, nullptr},
        {&kExtension, &IID_IExtendPropertySheet, false, E_NOINTERFACE, nullptr},
    };
    for (const Case& c : cases) {
        void* out = kUntouched;
        EXPECT_EQ(getClassObject_(*c.clsid, *c.iid, c.nullOut ? nullptr : &out), c.result) << Describe(*c.clsid).c_str();
        if (!c.nullOut) {
            EXPECT_EQ(out, c.outAfter) << Describe(*c.clsid).c_str();
        }
        EXPECT_EQ(canUnloadNow_(), S_OK);
    }

    for (const CLSID* clsid : {&kExtension, &kAbout}) {
        for (const IID* iid : {&IID_IUnknown, &IID_IClassFactory}) {
            IUnknown* factory = nullptr;
            ASSERT_EQ(getClassObject_(*clsid, *iid, reinterpret_cast<void**>(&factory)), S_OK);
            ASSERT_NE(factory, nullptr);
            // The factory's own QueryInterface took the one reference there is.
            EXPECT_EQ(factory->AddRef(), 2u);
            EXPECT_EQ(factory->Release(), 1u);
            EXPECT_EQ(canUnloadNow_(), S_FALSE);
            EXPECT_EQ(factory->Release(), 0u);
            EXPECT_EQ(canUnloadNow_(), S_OK);
        }
    }
}

TEST_F(ServerTest, FactoryQueryInterface)
{
    Framework::ComPtr<IClassFactory> factory = Factory(kExtension);
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory->QueryInterface(IID_IClassFactory, nullptr), E_FAIL);
    void* out = kUntouched;
    EXPECT_EQ(factory->QueryInterface(IID_IDispatch, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    Framework::ComPtr<IUnknown> unknown;
    ASSERT_EQ(factory->QueryInterface(IID_IUnknown, unknown.ReceiveVoid()), S_OK);
    EXPECT_EQ(static_cast<void*>(unknown.Get()), static_cast<void*>(factory.Get()));
    unknown.Reset();
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    factory.Reset();
}

TEST_F(ServerTest, CreateInstanceAnswersAndCountsObjects)
{
    struct Class {
        const CLSID* clsid;
        const IID* own;
        const IID* foreign;
    };
    const Class classes[] = {
        {&kExtension, &IID_IExtendPropertySheet, &IID_ISnapinAbout},
        {&kAbout, &IID_ISnapinAbout, &IID_IExtendPropertySheet},
    };
    for (const Class& c : classes) {
        SCOPED_TRACE(Describe(*c.clsid).c_str());
        Framework::ComPtr<IClassFactory> factory = Factory(*c.clsid);
        ASSERT_TRUE(factory);
        IUnknown* outer = factory.Get();

        EXPECT_EQ(factory->CreateInstance(nullptr, *c.own, nullptr), E_FAIL);
        struct Case {
            IUnknown* outer;
            const IID* iid;
            HRESULT result;
        };
        const Case cases[] = {
            {outer, c.own, CLASS_E_NOAGGREGATION},
            {outer, &IID_IUnknown, CLASS_E_NOAGGREGATION},
            {nullptr, c.foreign, E_NOINTERFACE},
            {nullptr, &IID_IDispatch, E_NOINTERFACE},
        };
        for (const Case& k : cases) {
            void* out = kUntouched;
            EXPECT_EQ(factory->CreateInstance(k.outer, *k.iid, &out), k.result);
            EXPECT_EQ(out, nullptr);
        }

        IUnknown* object = nullptr;
        ASSERT_EQ(factory->CreateInstance(nullptr, *c.own, reinterpret_cast<void**>(&object)), S_OK);
        ASSERT_NE(object, nullptr);
        Framework::ComPtr<IUnknown> unknown;
        ASSERT_EQ(object->QueryInterface(IID_IUnknown, unknown.ReceiveVoid()), S_OK);
        EXPECT_EQ(object->QueryInterface(*c.own, nullptr), E_FAIL);
        void* out = kUntouched;
        EXPECT_EQ(object->QueryInterface(*c.foreign, &out), E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);
        unknown.Reset();

        // A live object keeps the server loaded after its factory is gone.
        factory.Reset();
        EXPECT_EQ(canUnloadNow_(), S_FALSE);
        EXPECT_EQ(object->Release(), 0u);
        // The objects whose interface was refused were destroyed, not left counted.
        EXPECT_EQ(canUnloadNow_(), S_OK);
    }
}

TEST_F(ServerTest, ServerLocksKeepTheServerLoaded)
{
    Framework::ComPtr<IClassFactory> factory = Factory(kAbout);
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    EXPECT_EQ(canUnloadNow_(), S_FALSE);

    factory = Factory(kExtension);
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Reset();
    EXPECT_EQ(canUnloadNow_(), S_FALSE) << "one lock is still held";

    factory = Factory(kExtension);
    ASSERT_TRUE(factory);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Reset();
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(ServerTest, AboutObjectTexts)
{
    Framework::ComPtr<ISnapinAbout> about = About();
    ASSERT_TRUE(about);
    Framework::ComPtr<IMalloc> allocator;
    ASSERT_EQ(::CoGetMalloc(1, allocator.Receive()), S_OK);

    using Getter = HRESULT (STDMETHODCALLTYPE ISnapinAbout::*)(LPOLESTR*);
    struct Case {
        const char* name;
        Getter getter;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"description", &ISnapinAbout::GetSnapinDescription, L"Quillon - Property Sheet Extension"},
        {"provider", &ISnapinAbout::GetProvider, L"Orvane Tech"},
        {"version", &ISnapinAbout::GetSnapinVersion, L"1.0"},
    };
    for (const Case& c : cases) {
        Framework::CoTaskMemory<wchar_t> text;
        ASSERT_EQ(((*about.Get()).*c.getter)(text.Receive()), S_OK) << c.name;
        ASSERT_NE(text.Get(), nullptr) << c.name;
        EXPECT_STREQ(text.Get(), c.text) << c.name;
        // Task memory of the allocator that the caller frees it with.
        EXPECT_EQ(allocator->DidAlloc(text.Get()), 1) << c.name;
        EXPECT_EQ(allocator->GetSize(text.Get()), 2048u) << c.name;
    }

    // The snap-in version is its own text, whatever the file's version resource says.
    ModuleVersionInfo version;
    ASSERT_TRUE(version.Load(library_->Get()));
    wchar_t product[64] = {};
    ASSERT_TRUE(version.QueryValue(L"ProductVersion", product, 64));
    EXPECT_STRNE(product, L"1.0");
}

TEST_F(ServerTest, AboutObjectImagesAreItsOwnAndGoWithIt)
{
    Framework::ComPtr<ISnapinAbout> about = About();
    ASSERT_TRUE(about);

    HICON icon = nullptr;
    ASSERT_EQ(about->GetSnapinImage(&icon), S_OK);
    ASSERT_NE(icon, nullptr);
    ICONINFO iconInfo{};
    ASSERT_TRUE(::GetIconInfo(icon, &iconInfo));
    Framework::ScopedBitmap iconColor(iconInfo.hbmColor);
    Framework::ScopedBitmap iconMask(iconInfo.hbmMask);
    BITMAP iconBitmap{};
    ASSERT_NE(::GetObjectW(iconInfo.hbmColor ? iconInfo.hbmColor : iconInfo.hbmMask, sizeof(iconBitmap), &iconBitmap), 0);
    EXPECT_EQ(iconBitmap.bmWidth, ::GetSystemMetrics(SM_CXICON));

    HBITMAP small = nullptr;
    HBITMAP smallOpen = nullptr;
    HBITMAP large = nullptr;
    COLORREF mask = 0;
    ASSERT_EQ(about->GetStaticFolderImage(&small, &smallOpen, &large, &mask), S_OK);
    EXPECT_EQ(mask, static_cast<COLORREF>(0x808000));
    struct Case {
        const char* name;
        HBITMAP image;
        LONG size;
    };
    const Case cases[] = {{"small", small, 16}, {"small open", smallOpen, 16}, {"large", large, 32}};
    Framework::WindowDC screen(nullptr);
    for (const Case& c : cases) {
        BITMAP bitmap{};
        ASSERT_EQ(::GetObjectW(c.image, sizeof(bitmap), &bitmap), static_cast<int>(sizeof(bitmap))) << c.name;
        EXPECT_EQ(bitmap.bmWidth, c.size) << c.name;
        EXPECT_EQ(bitmap.bmHeight, c.size) << c.name;
        // Transparent loading: the colour of the first pixel (bottom left) became the window colour.
        Framework::ScopedDC memory(::CreateCompatibleDC(screen.Get()));
        ASSERT_TRUE(memory);
        Framework::SelectedObject selected(memory.Get(), c.image);
        EXPECT_EQ(::GetPixel(memory.Get(), 0, c.size - 1), ::GetSysColor(COLOR_WINDOW)) << c.name;
    }
    EXPECT_NE(small, smallOpen);

    // Asked again: the same handles, still owned by the object.
    HBITMAP again[3] = {};
    COLORREF againMask = 0;
    ASSERT_EQ(about->GetStaticFolderImage(&again[0], &again[1], &again[2], &againMask), S_OK);
    EXPECT_EQ(again[0], small);
    EXPECT_EQ(again[1], smallOpen);
    EXPECT_EQ(again[2], large);

    // The last Release frees them.
    about.Reset();
    for (const Case& c : cases) {
        BITMAP bitmap{};
        EXPECT_EQ(::GetObjectW(c.image, sizeof(bitmap), &bitmap), 0) << c.name << " outlived its object";
    }
    ICONINFO gone{};
    EXPECT_FALSE(::GetIconInfo(icon, &gone)) << "the icon outlived its object";
}


TEST_F(ServerTest, ManifestAsksForCommonControlsSixAsALibrarysManifest)
{
    // A library's manifest is resource 2, which the loader does not activate on its own.
    EXPECT_EQ(::FindResourceW(library_->Get(), MAKEINTRESOURCEW(1), RT_MANIFEST), nullptr);
    HRSRC found = ::FindResourceW(library_->Get(), MAKEINTRESOURCEW(2), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    HGLOBAL loaded = ::LoadResource(library_->Get(), found);
    ASSERT_NE(loaded, nullptr);
    const std::string manifest(static_cast<const char*>(::LockResource(loaded)), ::SizeofResource(library_->Get(), found));
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\""})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;

    ModuleVersionInfo version;
    ASSERT_TRUE(version.Load(library_->Get()));
    EXPECT_EQ(version.FixedInfo().dwFileType, static_cast<DWORD>(VFT_DLL));
}

}
