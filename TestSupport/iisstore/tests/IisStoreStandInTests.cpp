// The IIS store stand-in as the programs meet it: registered in the test prefix, created through
// CoCreateInstance under the stores' class ids, answering from a site description.
#include "Common/AppHostAdmin.h"
#include "Framework/ComValues.h"
#include "Framework/Handles.h"
#include "Framework/Registry.h"
#include "TestSupport/IisStoreStandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Framework;

namespace {

constexpr DWORD storeContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                               CLSCTX_REMOTE_SERVER;
const HRESULT bufferTooSmall = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
const HRESULT dataNotFound = static_cast<HRESULT>(MD_ERROR_DATA_NOT_FOUND);

const char twoSites[] =
    "# two sites, as a test would describe them\n"
    "site 1 Default Web Site\n"
    "root C:\\web\n"
    "vdir /img E:\\pictures\n"
    "app /shop D:\\shop\n"
    "vdir /shop/big F:\\big\n"
    "dir /shop/images\n"
    "value /LM/W3SVC/1/ROOT/odd 3001 unterminated G:\\odd\n"
    "value /LM/W3SVC/1/ROOT/num 3001 dword 42\n"
    "value /LM/W3SVC/1/ROOT/half 3001 odd-length H:\\h\n"
    "site 2 Second\n"
    "root %SystemDrive%\\inetpub\\wwwroot\n"
    "id-as-text\n"
    "fail-open /LM/W3SVC/2/ROOT\n";

class StandInTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(TestSupport::RegisterIisStoreStandIn(), S_OK); }

    void SetUp() override
    {
        ASSERT_TRUE(com_.Succeeded());
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_NE(::GetTempPathW(MAX_PATH + 1, temp), 0u);
        folder_ = std::wstring(temp) + L"IisStoreStandInTests-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        UseDescription(L"sites.txt", twoSites);
    }
    void TearDown() override { TestSupport::UseSiteDescription(L""); }

    // Writes a description file and names it for this process.
    void UseDescription(const std::wstring& name, const std::string& text)
    {
        std::wstring path = folder_ + L"\\" + name;
        ScopedFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
        ASSERT_TRUE(TestSupport::UseSiteDescription(path));
    }

    static HRESULT CreateMetabase(ComPtr<IMSAdminBaseW>& store)
    {
        return ::CoCreateInstance(CLSID_MSAdminBase_W, nullptr, storeContext, IID_IMSAdminBaseW, store.ReceiveVoid());
    }
    static HRESULT CreateAppHost(ComPtr<IAppHostAdminManager>& store)
    {
        return ::CoCreateInstance(CLSID_AppHostAdminManager, nullptr, storeContext, IID_IAppHostAdminManager,
                                  store.ReceiveVoid());
    }

    // Creates the metabase and opens a key of it from the master root.
    METADATA_HANDLE OpenMetabaseKey(const wchar_t* path)
    {
        METADATA_HANDLE key = 0;
        EXPECT_EQ(CreateMetabase(metabase_), S_OK);
        if (metabase_) {
            EXPECT_EQ(metabase_->OpenKey(METADATA_MASTER_ROOT_HANDLE, path, METADATA_PERMISSION_READ, 30000, &key), S_OK);
        }
        return key;
    }
    // Creates the application host and fetches its sites section.
    ComPtr<IAppHostElement> SitesSection()
    {
        ComPtr<IAppHostAdminManager> store;
        ComPtr<IAppHostElement> sites;
        EXPECT_EQ(CreateAppHost(store), S_OK);
        if (store) {
            Bstr sitesName(L"system.applicationHost/sites");
            Bstr appHost(L"MACHINE/WEBROOT/APPHOST");
            EXPECT_EQ(store->GetAdminSection(sitesName.Get(), appHost.Get(), sites.Receive()), S_OK);
        }
        return sites;
    }

    ComInitialization com_;
    std::wstring folder_;
    ComPtr<IMSAdminBaseW> metabase_;
};

// One GetData call with a buffer of the given byte size.
struct DataAnswer {
    HRESULT result;
    DWORD required;
    METADATA_RECORD record;
    std::vector<BYTE> buffer;
};

DataAnswer GetData(IMSAdminBaseW* store, METADATA_HANDLE key, const wchar_t* path, DWORD id, DWORD attributes,
                   DWORD dataType, DWORD size)
{
    DataAnswer answer{};
    answer.buffer.assign(size, 0xCD);
    answer.record.dwMDIdentifier = id;
    answer.record.dwMDAttributes = attributes;
    answer.record.dwMDUserType = IIS_MD_UT_FILE;
    answer.record.dwMDDataType = dataType;
    answer.record.dwMDDataLen = size;
    answer.record.pbMDData = size ? answer.buffer.data() : nullptr;
    answer.required = 0;
    answer.result = store->GetData(key, path, &answer.record, &answer.required);
    return answer;
}

std::wstring AsText(const DataAnswer& answer)
{
    size_t characters = answer.record.dwMDDataLen / sizeof(wchar_t);
    std::wstring text(reinterpret_cast<const wchar_t*>(answer.buffer.data()), characters);
    return text.substr(0, text.find(L'\0'));
}

// One string read with a large buffer, and what it must answer.
struct StringCase {
    const wchar_t* path;
    DWORD id;
    DWORD attributes;
    HRESULT result;
    const wchar_t* text;
};

void CheckStrings(IMSAdminBaseW* store, METADATA_HANDLE key, const StringCase* cases, size_t count)
{
    for (const StringCase* c = cases; c != cases + count; ++c) {
        DataAnswer answer = GetData(store, key, c->path, c->id, c->attributes, STRING_METADATA, 1024);
        EXPECT_EQ(answer.result, c->result) << c->path << " " << c->id;
        if (SUCCEEDED(c->result)) {
            EXPECT_EQ(answer.record.dwMDDataType, static_cast<DWORD>(STRING_METADATA));
            EXPECT_EQ(AsText(answer), c->text) << c->path << " " << c->id;
        }
    }
}

TEST_F(StandInTest, RegistersUnderTheStoresClassIds)
{
    for (const wchar_t* clsid : {L"{A9E69610-B80D-11D0-B9B9-00A0C922E750}", L"{228FB8F7-FB53-4FD5-8C7B-FF59DE606C5B}"}) {
        RegistryKey server;
        ASSERT_EQ(server.Open(HKEY_CLASSES_ROOT, std::wstring(L"CLSID\\") + clsid + L"\\InprocServer32"), ERROR_SUCCESS);
        std::wstring module;
        std::wstring model;
        EXPECT_EQ(server.QueryString(nullptr, module), ERROR_SUCCESS);
        EXPECT_EQ(module, TestSupport::IisStoreStandInPath());
        EXPECT_EQ(server.QueryString(L"ThreadingModel", model), ERROR_SUCCESS);
        EXPECT_EQ(model, L"Both");
    }
}

TEST_F(StandInTest, MetabaseEnumeratesSitesAndAnswersNames)
{
    METADATA_HANDLE w3svc = OpenMetabaseKey(L"/LM/W3SVC");
    ASSERT_NE(w3svc, 0u);
    IMSAdminBaseW* store = metabase_.Get();

    std::wstring names;
    wchar_t name[METADATA_MAX_NAME_LEN];
    DWORD index = 0;
    HRESULT end = S_OK;
    while ((end = store->EnumKeys(w3svc, L"/", name, index)) == S_OK) {
        names += std::wstring(name) + L";";
        ++index;
    }
    EXPECT_EQ(names, L"Info;Filters;1;2;");
    EXPECT_EQ(end, HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS));

    const StringCase cases[] = {
        {L"/1", MD_SERVER_COMMENT, METADATA_INHERIT, S_OK, L"Default Web Site"},
        {L"/2", MD_SERVER_COMMENT, METADATA_INHERIT, S_OK, L"Second"},
        {L"/1", MD_KEY_TYPE, METADATA_INHERIT, S_OK, L"IIsWebServer"},
        {L"/1/ROOT/img", MD_KEY_TYPE, METADATA_INHERIT, S_OK, L"IIsWebVirtualDir"},
        {L"/1/ROOT/shop", MD_KEY_TYPE, METADATA_INHERIT, S_OK, L"IIsWebVirtualDir"},
        {L"/1/ROOT/SHOP/Images", MD_KEY_TYPE, METADATA_INHERIT, S_OK, L"IIsWebDirectory"},
        {L"/Info", MD_KEY_TYPE, METADATA_INHERIT, dataNotFound, L""},
        {L"/1/ROOT/img", MD_SERVER_COMMENT, METADATA_INHERIT, dataNotFound, L""},
        {L"/3", MD_SERVER_COMMENT, METADATA_INHERIT, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), L""},
    };
    CheckStrings(store, w3svc, cases, sizeof(cases) / sizeof(cases[0]));
    EXPECT_EQ(store->CloseKey(w3svc), S_OK);
    EXPECT_EQ(store->CloseKey(w3svc), HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE));
}

TEST_F(StandInTest, MetabaseProbeReadAndInheritance)
{
    METADATA_HANDLE root = OpenMetabaseKey(L"/LM/W3SVC/1/ROOT/");
    ASSERT_NE(root, 0u);
    IMSAdminBaseW* store = metabase_.Get();

    // A buffer too small gives the length in bytes, terminator included.
    DataAnswer probe = GetData(store, root, L"", MD_VR_PATH, 0, ALL_METADATA, 0);
    EXPECT_EQ(probe.result, bufferTooSmall);
    EXPECT_EQ(probe.required, 7 * sizeof(wchar_t));
    DataAnswer shortBuffer = GetData(store, root, L"/", MD_VR_PATH, 0, STRING_METADATA, 13);
    EXPECT_EQ(shortBuffer.result, bufferTooSmall);
    EXPECT_EQ(shortBuffer.buffer[0], 0xCD);
    DataAnswer read = GetData(store, root, L"", MD_VR_PATH, 0, STRING_METADATA, probe.required);
    EXPECT_EQ(read.result, S_OK);
    EXPECT_EQ(AsText(read), L"C:\\web");
    EXPECT_EQ(read.record.dwMDDataLen, 14u);

    const StringCase cases[] = {
        {L"/shop", MD_VR_PATH, 0, S_OK, L"D:\\shop"},
        {L"/shop/big", MD_VR_PATH, 0, S_OK, L"F:\\big"},
        {L"/img", MD_VR_PATH, 0, S_OK, L"E:\\pictures"},
        {L"/shop/images", MD_VR_PATH, 0, dataNotFound, L""},
        {L"/shop/images", MD_VR_PATH, METADATA_INHERIT, S_OK, L"D:\\shop"},
        {L"/shop/none", MD_VR_PATH, 0, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), L""},
    };
    CheckStrings(store, root, cases, sizeof(cases) / sizeof(cases[0]));
    EXPECT_EQ(store->CloseKey(root), S_OK);
}

TEST_F(StandInTest, MetabaseOddDataAndFailingKeys)
{
    METADATA_HANDLE root = OpenMetabaseKey(L"/LM/W3SVC/1/ROOT");
    ASSERT_NE(root, 0u);
    IMSAdminBaseW* store = metabase_.Get();

    // A string without its terminator: exactly its characters, nothing after them.
    DataAnswer unterminated = GetData(store, root, L"/odd", MD_VR_PATH, 0, ALL_METADATA, 0);
    EXPECT_EQ(unterminated.result, bufferTooSmall);
    EXPECT_EQ(unterminated.required, 6 * sizeof(wchar_t));
    unterminated = GetData(store, root, L"/odd", MD_VR_PATH, 0, STRING_METADATA, 64);
    ASSERT_EQ(unterminated.result, S_OK);
    EXPECT_EQ(unterminated.record.dwMDDataLen, 12u);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(unterminated.buffer.data()), 6), L"G:\\odd");
    EXPECT_EQ(unterminated.buffer[12], 0xCD);

    // An odd byte length: the characters, then the one extra byte.
    DataAnswer half = GetData(store, root, L"/half", MD_VR_PATH, 0, STRING_METADATA, 64);
    ASSERT_EQ(half.result, S_OK);
    EXPECT_EQ(half.record.dwMDDataLen, 9u);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(half.buffer.data()), 4), L"H:\\h");
    EXPECT_EQ(half.buffer[8], 'X');
    EXPECT_EQ(half.buffer[9], 0xCD);

    // A number where a string is expected: found for any type, refused for a string read.
    DataAnswer number = GetData(store, root, L"/num", MD_VR_PATH, 0, ALL_METADATA, 64);
    ASSERT_EQ(number.result, S_OK);
    EXPECT_EQ(number.record.dwMDDataType, static_cast<DWORD>(DWORD_METADATA));
    EXPECT_EQ(number.record.dwMDDataLen, 4u);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(number.buffer.data()), 42u);
    EXPECT_EQ(GetData(store, root, L"/num", MD_VR_PATH, 0, STRING_METADATA, 64).result, dataNotFound);
    EXPECT_EQ(store->CloseKey(root), S_OK);

    struct Case {
        const wchar_t* key;
        HRESULT result;
    };
    const Case cases[] = {
        {L"/LM/W3SVC/2/ROOT/", HRESULT_FROM_WIN32(ERROR_PATH_BUSY)},
        {L"/lm/w3svc/2/root", HRESULT_FROM_WIN32(ERROR_PATH_BUSY)},
        {L"/LM/W3SVC/2", S_OK},
        {L"/LM/W3SVC/7/ROOT/", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
    };
    for (const Case& c : cases) {
        METADATA_HANDLE key = 0;
        EXPECT_EQ(store->OpenKey(METADATA_MASTER_ROOT_HANDLE, c.key, METADATA_PERMISSION_READ, 30000, &key), c.result)
            << c.key;
        if (SUCCEEDED(c.result)) {
            EXPECT_EQ(store->CloseKey(key), S_OK);
        } else {
            EXPECT_EQ(key, 0u);
        }
    }
}

// The text of a property of an element.
std::wstring StringProperty(IAppHostElement* element, const wchar_t* name)
{
    ComPtr<IAppHostProperty> property;
    Bstr propertyName(name);
    if (FAILED(element->GetPropertyByName(propertyName.Get(), property.Receive())))
        return L"(none)";
    Bstr value;
    if (FAILED(property->get_StringValue(value.Receive())))
        return L"(failed)";
    return value.Text();
}

ComPtr<IAppHostElement> Item(IAppHostElement* parent, const Variant& index)
{
    ComPtr<IAppHostElementCollection> children;
    ComPtr<IAppHostElement> item;
    if (SUCCEEDED(parent->get_Collection(children.Receive())))
        children->get_Item(index.Get(), item.Receive());
    return item;
}

TEST_F(StandInTest, AppHostAnswersTheSitesSection)
{
    ComPtr<IAppHostAdminManager> store;
    ASSERT_EQ(CreateAppHost(store), S_OK);
    struct OtherSection {
        const wchar_t* section;
        const wchar_t* path;
    };
    const OtherSection others[] = {
        {L"system.webServer/rewrite", L"MACHINE/WEBROOT/APPHOST"},
        {L"system.applicationHost/sites", L"MACHINE/WEBROOT"},
    };
    for (const OtherSection& c : others) {
        Bstr section(c.section);
        Bstr path(c.path);
        ComPtr<IAppHostElement> element;
        EXPECT_TRUE(FAILED(store->GetAdminSection(section.Get(), path.Get(), element.Receive()))) << c.section;
        EXPECT_FALSE(element);
    }
    ComPtr<IAppHostElement> sites = SitesSection();
    ASSERT_TRUE(sites);

    ComPtr<IAppHostElementCollection> siteList;
    ASSERT_EQ(sites->get_Collection(siteList.Receive()), S_OK);
    DWORD count = 0;
    ASSERT_EQ(siteList->get_Count(&count), S_OK);
    EXPECT_EQ(count, 2u);
    ComPtr<IAppHostElement> none;
    EXPECT_EQ(siteList->get_Item(Variant::Int32(2).Get(), none.Receive()), HRESULT_FROM_WIN32(ERROR_INVALID_INDEX));
    EXPECT_EQ(siteList->get_Item(Variant::Text(L"0").Get(), none.Receive()), E_INVALIDARG);
    EXPECT_FALSE(none);

    ComPtr<IAppHostElement> first = Item(sites.Get(), Variant::Int32(0));
    ASSERT_TRUE(first);
    ComPtr<IAppHostProperty> id;
    Bstr idName(L"id");
    ASSERT_EQ(first->GetPropertyByName(idName.Get(), id.Receive()), S_OK);
    Variant idValue;
    ASSERT_EQ(id->get_Value(idValue.Receive()), S_OK);
    EXPECT_EQ(idValue.Type(), VT_I4);
    EXPECT_EQ(idValue.Get().lVal, 1);

    // Every element by the path a program walks: site, application (VT_I2), virtual directory.
    struct Case {
        int site, application, directory;
        const wchar_t* property;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, -1, -1, L"name", L"Default Web Site"},
        {0, -1, -1, L"ID", L"(none)"},
        {0, -1, -1, L"physicalPath", L"(none)"},
        {0, 0, -1, L"path", L"/"},
        {0, 0, 0, L"path", L"/"},
        {0, 0, 0, L"physicalPath", L"C:\\web"},
        {0, 0, 1, L"path", L"/img"},
        {0, 0, 1, L"physicalPath", L"E:\\pictures"},
        {0, 1, -1, L"path", L"/shop"},
        {0, 1, 0, L"path", L"/"},
        {0, 1, 0, L"physicalPath", L"D:\\shop"},
        {0, 1, 1, L"path", L"/big"},
        {0, 1, 1, L"physicalPath", L"F:\\big"},
        {1, -1, -1, L"name", L"Second"},
        {1, 0, 0, L"physicalPath", L"%SystemDrive%\\inetpub\\wwwroot"},
    };
    for (const Case& c : cases) {
        ComPtr<IAppHostElement> element = Item(sites.Get(), Variant::Int32(c.site));
        if (c.application >= 0 && element)
            element = Item(element.Get(), Variant::Int16(static_cast<SHORT>(c.application)));
        if (c.directory >= 0 && element)
            element = Item(element.Get(), Variant::Int16(static_cast<SHORT>(c.directory)));
        ASSERT_TRUE(element) << c.site << "/" << c.application << "/" << c.directory;
        EXPECT_EQ(StringProperty(element.Get(), c.property), c.text)
            << c.site << "/" << c.application << "/" << c.directory << " " << c.property;
    }
    ComPtr<IAppHostElement> shop = Item(sites.Get(), Variant::Int32(0));
    shop = Item(shop.Get(), Variant::Int16(1));
    ComPtr<IAppHostElementCollection> shopDirectories;
    ASSERT_EQ(shop->get_Collection(shopDirectories.Receive()), S_OK);
    ASSERT_EQ(shopDirectories->get_Count(&count), S_OK);
    EXPECT_EQ(count, 2u);
}

TEST_F(StandInTest, AppHostOddIdType)
{
    ComPtr<IAppHostElement> sites = SitesSection();
    ASSERT_TRUE(sites);
    ComPtr<IAppHostElement> second = Item(sites.Get(), Variant::Int32(1));
    ASSERT_TRUE(second);
    ComPtr<IAppHostProperty> id;
    Bstr idName(L"id");
    ASSERT_EQ(second->GetPropertyByName(idName.Get(), id.Receive()), S_OK);
    Variant value;
    ASSERT_EQ(id->get_Value(value.Receive()), S_OK);
    ASSERT_EQ(value.Type(), VT_BSTR);
    EXPECT_EQ(std::wstring(value.Get().bstrVal), L"2");
    EXPECT_EQ(StringProperty(second.Get(), L"id"), L"2");
}

TEST_F(StandInTest, DescriptionIsUtf8WithOrWithoutByteOrderMark)
{
    for (const char* text : {"\xEF\xBB\xBFsite 1 Caf\xC3\xA9 \xE2\x82\xAC\r\n", "site 1 Caf\xC3\xA9 \xE2\x82\xAC\n"}) {
        UseDescription(L"utf8.txt", text);
        METADATA_HANDLE w3svc = OpenMetabaseKey(L"/LM/W3SVC");
        ASSERT_NE(w3svc, 0u);
        const StringCase cases[] = {{L"/1", MD_SERVER_COMMENT, 0, S_OK, L"Caf\u00E9 \u20AC"}};
        CheckStrings(metabase_.Get(), w3svc, cases, 1);
        EXPECT_EQ(metabase_->CloseKey(w3svc), S_OK);
    }
}

TEST_F(StandInTest, EachStoreCanBeAbsent)
{
    struct Case {
        const char* description;
        HRESULT metabase;
        HRESULT appHost;
    };
    const Case cases[] = {
        {"absent metabase\nsite 1 One\n", CLASS_E_CLASSNOTAVAILABLE, S_OK},
        {"site 1 One\nabsent apphost\n", S_OK, CLASS_E_CLASSNOTAVAILABLE},
        {"absent metabase\nabsent apphost\n", CLASS_E_CLASSNOTAVAILABLE, CLASS_E_CLASSNOTAVAILABLE},
        {"site one One\n", HRESULT_FROM_WIN32(ERROR_INVALID_DATA), HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
        {"root C:\\web\n", HRESULT_FROM_WIN32(ERROR_INVALID_DATA), HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
        {"site 1 One\nvdir shop D:\\shop\n", HRESULT_FROM_WIN32(ERROR_INVALID_DATA),
         HRESULT_FROM_WIN32(ERROR_INVALID_DATA)},
        {"site 1 Caf\xE9\n", HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION),
         HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION)},
    };
    // COM reports every refusal of the server as a class that is not there; the server's own
    // reason is seen by asking it directly.
    ScopedLibrary server(::LoadLibraryW(TestSupport::IisStoreStandInPath().c_str()));
    ASSERT_TRUE(server);
    using GetClassObjectEntry = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectEntry>(
        reinterpret_cast<void*>(::GetProcAddress(server.Get(), "DllGetClassObject")));
    ASSERT_TRUE(getClassObject);
    auto reason = [&](REFCLSID clsid) {
        ComPtr<IClassFactory> factory;
        return getClassObject(clsid, IID_IClassFactory, factory.ReceiveVoid());
    };

    int n = 0;
    for (const Case& c : cases) {
        UseDescription(L"case" + std::to_wstring(++n) + L".txt", c.description);
        ComPtr<IMSAdminBaseW> metabase;
        ComPtr<IAppHostAdminManager> appHost;
        EXPECT_EQ(SUCCEEDED(CreateMetabase(metabase)), SUCCEEDED(c.metabase)) << c.description;
        EXPECT_EQ(SUCCEEDED(CreateAppHost(appHost)), SUCCEEDED(c.appHost)) << c.description;
        EXPECT_EQ(static_cast<bool>(metabase), SUCCEEDED(c.metabase));
        EXPECT_EQ(static_cast<bool>(appHost), SUCCEEDED(c.appHost));
        EXPECT_EQ(reason(CLSID_MSAdminBase_W), c.metabase) << c.description;
        EXPECT_EQ(reason(CLSID_AppHostAdminManager), c.appHost) << c.description;
    }

    ASSERT_TRUE(TestSupport::UseSiteDescription(folder_ + L"\\missing.txt"));
    EXPECT_EQ(reason(CLSID_MSAdminBase_W), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    ComPtr<IMSAdminBaseW> metabase;
    EXPECT_TRUE(FAILED(CreateMetabase(metabase)));
}

TEST_F(StandInTest, DescriptionFromTheRegistryAndUnregistration)
{
    // Without the variable, the registry value names the description; without either, no store.
    ASSERT_TRUE(TestSupport::UseSiteDescription(L""));
    {
        RegistryKey settings;
        ASSERT_EQ(settings.Create(HKEY_CURRENT_USER, TestSupport::IisSitesKey), ERROR_SUCCESS);
        settings.DeleteValue(TestSupport::IisSitesValue);
        ComPtr<IMSAdminBaseW> metabase;
        EXPECT_TRUE(FAILED(CreateMetabase(metabase)));
        ASSERT_EQ(settings.SetString(TestSupport::IisSitesValue, folder_ + L"\\sites.txt"), ERROR_SUCCESS);
        EXPECT_EQ(CreateMetabase(metabase), S_OK);
        metabase.Reset();
        EXPECT_EQ(settings.DeleteValue(TestSupport::IisSitesValue), ERROR_SUCCESS);
    }
    ASSERT_TRUE(TestSupport::UseSiteDescription(folder_ + L"\\sites.txt"));

    ASSERT_EQ(TestSupport::UnregisterIisStoreStandIn(), S_OK);
    ComPtr<IMSAdminBaseW> metabase;
    ComPtr<IAppHostAdminManager> appHost;
    EXPECT_EQ(CreateMetabase(metabase), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CreateAppHost(appHost), REGDB_E_CLASSNOTREG);
    ASSERT_EQ(TestSupport::RegisterIisStoreStandIn(), S_OK);
    EXPECT_EQ(CreateMetabase(metabase), S_OK);
}

}
