// The property sheet host: the data object's answer, snap-in discovery over registry entries
// written the way an extension writes them, and the loading of real extensions through COM.
#include "DataObject.h"
#include "ExtensionRegistration.h"
#include "SiteNodeType.h"
#include "SiteTreeNode.h"
#include "SnapinDiscovery.h"
#include "SnapinLoader.h"
#include "SnapinPropertySheet.h"
#include "extension/TestExtension.h"

#include <Framework/GuidText.h>
#include <Framework/Handles.h>
#include <Framework/Registry.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Orvane;
using namespace OrvanedockTest;

namespace {

// ---- data object ----

std::wstring BlockText(HGLOBAL block)
{
    Framework::GlobalLocked<wchar_t> text(block);
    return std::wstring(text.Get(), wcsnlen(text.Get(), ::GlobalSize(block) / sizeof(wchar_t)));
}

TEST(DataObject, WritesThePathWithinTheBlockForEveryFormat)
{
    const std::wstring root = L"/LM/W3SVC/";
    Manager::CDataObjectImpl data(&root);
    const CLIPFORMAT formats[] = {static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"ISM_SNAPIN_META_PATH")),
                                  CF_TEXT, static_cast<CLIPFORMAT>(0xC123)};
    std::vector<std::vector<unsigned char>> answers;
    for (CLIPFORMAT format : formats) {
        // A block larger than the receiver's 512 bytes: nothing past them is touched.
        Framework::ScopedGlobal block(::GlobalAlloc(GMEM_FIXED, 600));
        std::memset(block.Get(), 0xCC, 600);
        FORMATETC description{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = block.Get();
        ASSERT_EQ(S_OK, data.GetDataHere(&description, &medium)) << format;
        EXPECT_EQ(L"/LM/W3SVC//", BlockText(block.Get()));
        const auto* bytes = static_cast<const unsigned char*>(block.Get());
        answers.emplace_back(bytes, bytes + 512);
        EXPECT_EQ(0xCC, bytes[512]);
        EXPECT_EQ(0xCC, bytes[599]);
    }
    EXPECT_EQ(answers[0], answers[1]);
    EXPECT_EQ(answers[0], answers[2]);
}

TEST(DataObject, RefusesMediaItCannotFillAndNeverSucceedsWithoutWriting)
{
    const std::wstring site = L"/LM/W3SVC/1/ROOT";
    Manager::CDataObjectImpl data(&site);
    FORMATETC description{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(E_POINTER, data.GetDataHere(&description, nullptr));

    struct Case {
        const char* what;
        DWORD tymed;
        SIZE_T bytes; // 0: no block
        HRESULT expected;
    } cases[] = {
        {"stream medium", TYMED_ISTREAM, 512, DV_E_TYMED},
        {"null block", TYMED_HGLOBAL, 0, E_INVALIDARG},
        {"block too small for path and terminator", TYMED_HGLOBAL, 2 * 17, STG_E_MEDIUMFULL},
        {"exactly the path and terminator", TYMED_HGLOBAL, 2 * 18, S_OK},
    };
    for (const Case& c : cases) {
        Framework::ScopedGlobal block(c.bytes ? ::GlobalAlloc(GMEM_FIXED, c.bytes) : nullptr);
        if (block)
            std::memset(block.Get(), 0xCC, c.bytes);
        STGMEDIUM medium{};
        medium.tymed = c.tymed;
        medium.hGlobal = block.Get();
        EXPECT_EQ(c.expected, data.GetDataHere(&description, &medium)) << c.what;
        if (block) {
            const auto* bytes = static_cast<const unsigned char*>(block.Get());
            if (c.expected == S_OK)
                EXPECT_EQ(L"/LM/W3SVC/1/ROOT/", BlockText(block.Get())) << c.what;
            else
                EXPECT_EQ(0xCC, bytes[0]) << c.what << ": a refused block is left as it was";
        }
    }
    void* unknown = nullptr;
    EXPECT_EQ(S_OK, data.QueryInterface(IID_IDataObject, &unknown));
    EXPECT_EQ(static_cast<IDataObject*>(&data), unknown);
    EXPECT_EQ(E_NOINTERFACE, data.QueryInterface(IID_IStream, &unknown));
    EXPECT_EQ(nullptr, unknown);
    EXPECT_EQ(E_NOTIMPL, data.GetData(&description, nullptr));
}

// ---- discovery ----

// A private copy of the keys below HKCU, so that the test touches nobody's MMC registration.
class PrivateMmcRoot {
public:
    PrivateMmcRoot()
    {
        path_ = L"Software\\OrvanedockTests\\Discovery" + std::to_wstring(::GetCurrentProcessId());
        key_.Create(HKEY_CURRENT_USER, path_);
    }
    ~PrivateMmcRoot()
    {
        key_.Close();
        Framework::DeleteKeyTree(HKEY_CURRENT_USER, path_);
    }
    HKEY Get() const { return key_.Get(); }
    void SetString(const std::wstring& key, const wchar_t* name, const std::wstring& value)
    {
        Framework::RegistryKey k;
        ASSERT_EQ(ERROR_SUCCESS, k.Create(key_.Get(), key));
        ASSERT_EQ(ERROR_SUCCESS, k.SetString(name, value));
    }
    void SetBinary(const std::wstring& key, const wchar_t* name, size_t bytes)
    {
        Framework::RegistryKey k;
        ASSERT_EQ(ERROR_SUCCESS, k.Create(key_.Get(), key));
        std::vector<BYTE> data(bytes, 0x41);
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(k.Get(), name, 0, REG_BINARY, data.data(), static_cast<DWORD>(bytes)));
    }
    void SetRaw(const std::wstring& key, const wchar_t* name, DWORD type, const std::vector<wchar_t>& data)
    {
        Framework::RegistryKey k;
        ASSERT_EQ(ERROR_SUCCESS, k.Create(key_.Get(), key));
        ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExW(k.Get(), name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                                  static_cast<DWORD>(data.size() * sizeof(wchar_t))));
    }
    void Register(const std::wstring& clsid, int nodeType, const std::wstring& data = L"Extension")
    {
        SetString(std::wstring(L"SOFTWARE\\Microsoft\\MMC\\NodeTypes\\") + NodeTypeText(nodeType) +
                      L"\\Extensions\\PropertySheet",
                  clsid.c_str(), data);
    }

private:
    std::wstring path_;
    Framework::RegistryKey key_;
};

const std::wstring kSnapins = L"SOFTWARE\\Microsoft\\MMC\\SnapIns\\";

TEST(SnapinDiscovery, MakersSnapinsWithTheNodeTypesTheyExtend)
{
    PrivateMmcRoot mmc;
    const std::wstring a = L"{11111111-0000-0000-0000-00000000000A}";
    const std::wstring b = L"{11111111-0000-0000-0000-00000000000B}";
    const std::wstring c = L"{11111111-0000-0000-0000-00000000000C}";
    const std::wstring d = L"{11111111-0000-0000-0000-00000000000D}";
    const std::wstring e = L"{11111111-0000-0000-0000-00000000000E}";
    const std::wstring f = L"{11111111-0000-0000-0000-00000000000F}";
    // a: the maker's, for the root only.
    mmc.SetString(kSnapins + a, L"Provider", L"Orvane");
    mmc.Register(a, 4);
    // b, c: another letter case or a further character is another maker.
    mmc.SetString(kSnapins + b, L"Provider", L"orvane");
    mmc.Register(b, 4);
    mmc.SetString(kSnapins + c, L"Provider", L"Orvane ");
    mmc.Register(c, 4);
    // d: "Provider" after other values, one of them longer than 512 bytes; for the virtual directory
    // and physical folder types, while no snap-in at all extends web sites.
    mmc.SetString(kSnapins + d, L"About", L"{00000000-0000-0000-0000-000000000000}");
    mmc.SetBinary(kSnapins + d, L"Big", 2000);
    mmc.SetString(kSnapins + d, L"NameString", std::wstring(400, L'n'));
    mmc.SetString(kSnapins + d, L"Provider", L"Orvane");
    mmc.Register(d, 16);
    mmc.Register(d, 64);
    // e: the maker's, but its registration's data does not fit 255 bytes: no node type.
    mmc.SetString(kSnapins + e, L"Provider", L"Orvane");
    mmc.Register(e, 4, std::wstring(200, L'x'));
    // f: no Provider at all.
    mmc.SetString(kSnapins + f, L"NameString", L"f");
    mmc.Register(f, 4);
    // A key that names no class.
    mmc.SetString(kSnapins + L"NotAClass", L"Provider", L"Orvane");

    Manager::SnapinList list;
    ASSERT_EQ(3u, Manager::DiscoverSnapins(list, mmc.Get()));
    std::vector<std::pair<std::wstring, int>> found;
    for (size_t i = 0; i < list.Count(); ++i)
        found.emplace_back(Framework::GuidText(list.ClsidAt(i)), list.MaskAt(i));
    const std::vector<std::pair<std::wstring, int>> expected = {
        {a, 4},
        {d, Orvanedock::kNodeVirtualDirectory | Orvanedock::kNodeApplication | Orvanedock::kNodePhysicalDirectory},
        {e, 0},
    };
    EXPECT_EQ(expected, found);
    EXPECT_TRUE(IsEqualGUID(GUID_NULL, list.ClsidAt(3)));
    EXPECT_EQ(0, list.MaskAt(3));

    // Read once: a later call keeps the list even after the entries are gone.
    Framework::DeleteKeyTree(mmc.Get(), L"SOFTWARE");
    EXPECT_EQ(3u, Manager::DiscoverSnapins(list, mmc.Get()));
    Manager::SnapinList fresh;
    EXPECT_EQ(0u, Manager::DiscoverSnapins(fresh, mmc.Get()));
}

TEST(SnapinDiscovery, ProviderValueIsNamedExactlyAndReadWithinItsDataBuffer)
{
    PrivateMmcRoot mmc;
    const std::wstring upper = L"{22222222-0000-0000-0000-000000000001}";
    const std::wstring padded = L"{22222222-0000-0000-0000-000000000002}";
    const std::wstring binary = L"{22222222-0000-0000-0000-000000000003}";
    const std::wstring unterminated = L"{22222222-0000-0000-0000-000000000004}";
    const std::wstring fits = L"{22222222-0000-0000-0000-000000000005}";
    const std::vector<wchar_t> maker = {L'O', L'r', L'v', L'a', L'n', L'e'};
    // The value's name in another letter case is another value.
    mmc.SetString(kSnapins + upper, L"PROVIDER", L"Orvane");
    // "Orvane" and its terminator, then more data than the 512 bytes read of a value.
    std::vector<wchar_t> long_data = maker;
    long_data.resize(300, L'\0');
    mmc.SetRaw(kSnapins + padded, L"Provider", REG_SZ, long_data);
    // The right bytes, but not text.
    std::vector<wchar_t> terminated = maker;
    terminated.push_back(L'\0');
    mmc.SetRaw(kSnapins + binary, L"Provider", REG_BINARY, terminated);
    // Text stored without its terminator ends at its stored end; padding within 512 bytes is read.
    mmc.SetRaw(kSnapins + unterminated, L"Provider", REG_SZ, maker);
    std::vector<wchar_t> short_padding = terminated;
    short_padding.resize(256, L'\0');
    mmc.SetRaw(kSnapins + fits, L"Provider", REG_SZ, short_padding);
    for (const std::wstring* clsid : {&upper, &padded, &binary, &unterminated, &fits})
        mmc.Register(*clsid, 4);

    struct Case {
        const std::wstring& key;
        bool listed;
    } cases[] = {{upper, false}, {padded, false}, {binary, false}, {unterminated, true}, {fits, true}};
    for (const Case& c : cases)
        EXPECT_EQ(c.listed, Manager::HasProviderValue(mmc.Get(), c.key)) << std::string(c.key.begin(), c.key.end());
    Manager::SnapinList list;
    EXPECT_EQ(2u, Manager::DiscoverSnapins(list, mmc.Get()));
}

// ---- loading ----

// Collects the pages that extensions add, as the frame's callback does.
class PageCollector : public Framework::UncountedComObject<PageCollector, IPropertySheetCallback> {
public:
    std::vector<HPROPSHEETPAGE> pages;
    ~PageCollector()
    {
        for (HPROPSHEETPAGE page : pages)
            ::DestroyPropertySheetPage(page);
    }
    static const Framework::InterfaceEntry* InterfaceTable() noexcept
    {
        static const Framework::InterfaceEntry table[] = {
            Framework::InterfaceOf<PageCollector, IPropertySheetCallback>(IID_IPropertySheetCallback), {nullptr, nullptr}};
        return table;
    }
    HRESULT STDMETHODCALLTYPE AddPage(HPROPSHEETPAGE page) override
    {
        pages.push_back(page);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE RemovePage(HPROPSHEETPAGE) override { return E_NOTIMPL; }
};

struct LoaderFixture : ::testing::Test {
    Framework::ComInitialization com;
    PrivateMmcRoot mmc;
    Orvanedock::SiteTreeContext context;

    std::wstring LastPath()
    {
        HMODULE extension = ::GetModuleHandleW(L"OrvanedockTestExtension.dll");
        if (!extension)
            return L"(not loaded)";
        using LastPathFunction = const wchar_t* (*)();
        auto last = reinterpret_cast<LastPathFunction>(reinterpret_cast<void*>(::GetProcAddress(extension, "TestExtensionLastPath")));
        return last ? last() : L"(no export)";
    }
};

TEST_F(LoaderFixture, ExtensionsForTheNodesTypeAddPagesAndFailuresAreSkipped)
{
    const std::wstring dll = TestExtensionPath();
    ExtensionRegistration page(mmc.Get(), kPageExtension, dll, L"Orvane", {4});
    ExtensionRegistration refusing(mmc.Get(), kRefusingExtension, dll, L"Orvane", {4});
    ExtensionRegistration failing(mmc.Get(), kFailingExtension, dll, L"Orvane", {4});
    ExtensionRegistration missing(mmc.Get(), kMissingExtension, dll, L"Orvane", {4});
    ExtensionRegistration siteOnly(mmc.Get(), kSecondPageExtension, dll, L"Orvane", {8});
    ASSERT_TRUE(page.Succeeded() && refusing.Succeeded() && failing.Succeeded() && missing.Succeeded() &&
                siteOnly.Succeeded());
    // The class of the missing extension is not there.
    Framework::DeleteKeyTree(HKEY_CLASSES_ROOT, L"CLSID\\" + Framework::GuidText(kMissingExtension));

    Manager::SnapinList list;
    ASSERT_EQ(5u, Manager::DiscoverSnapins(list, mmc.Get()));

    Orvanedock::SiteTreeNode root(context);
    PageCollector pages;
    // Only the page extension's CreatePropertyPages succeeds; the failing one's page stays.
    EXPECT_EQ(1, Manager::LoadSnapins(root, list, &pages));
    EXPECT_EQ(2u, pages.pages.size());
    EXPECT_EQ(L"/LM/W3SVC//", LastPath()) << "the root is the server level";

    ASSERT_TRUE(root.AddChild(L"Default Web Site", L"/LM/W3SVC/1/ROOT", L"", Orvanedock::kNodeWebSite));
    PageCollector sitePages;
    EXPECT_EQ(1, Manager::LoadSnapins(*root.Children()[0], list, &sitePages)) << "only the site extension";
    EXPECT_EQ(1u, sitePages.pages.size());
    EXPECT_EQ(L"/LM/W3SVC/1/ROOT/", LastPath());

    ASSERT_TRUE(root.AddChild(L"f", L"/LM/W3SVC/1/ROOT/f", L"C:\\f", Orvanedock::kNodePhysicalDirectory));
    PageCollector none;
    EXPECT_EQ(0, Manager::LoadSnapins(*root.Children()[1], list, &none));
    EXPECT_TRUE(none.pages.empty());
}

}
