// The metabase's key owner against the IIS store stand-in: every failure answered as the store's
// HRESULT, names and values read whole, however long.
#include "Common/MetabaseKey.h"

#include <Framework/Handles.h>
#include <TestSupport/IisStoreStandIn.h>
#include <TestSupport/SiteFiles.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A path longer than any fixed buffer of 64 KB: 40,000 characters, 80,002 bytes with the terminator.
const std::wstring kLongPath = L"C:\\" + std::wstring(40000 - 3, L'l');

class MetabaseKeyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(TestSupport::RegisterIisStoreStandIn(), S_OK); }
    void SetUp() override
    {
        const std::wstring path = files_.Description(L"site 1 Default Web Site\nroot C:\\web\nvdir /shop D:\\shop\n"
                                                     L"site 2 Locked\nfail-open /LM/W3SVC/2/ROOT\n"
                                                     L"value /LM/W3SVC/1/ROOT/long 3001 string " +
                                                     kLongPath + L"\n");
        ASSERT_FALSE(path.empty());
        ASSERT_TRUE(TestSupport::UseSiteDescription(path));
        ASSERT_EQ(IisMetabase::Create(admin_), S_OK);
    }
    void TearDown() override { TestSupport::UseSiteDescription(L""); }

    static std::wstring Text(const IisMetabase::Answer& answer)
    {
        std::wstring text(answer.data.size() / sizeof(wchar_t), L'\0');
        if (!text.empty())
            std::memcpy(&text[0], answer.data.data(), text.size() * sizeof(wchar_t));
        return text;
    }

    Framework::ComInitialization com_;
    TestSupport::SiteFiles files_{L"common-metabase"};
    Framework::ComPtr<IMSAdminBaseW> admin_;
};

TEST_F(MetabaseKeyTest, AFailedOpenIsTheStoresAnswerAndLeavesNoKey)
{
    const struct {
        const char* what;
        bool admin;
        const wchar_t* path;
        HRESULT result;
    } cases[] = {
        {"a site's root", true, L"/LM/W3SVC/1/ROOT", S_OK},
        {"no such key", true, L"/LM/W3SVC/9/ROOT", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)},
        {"held past the time-out", true, L"/LM/W3SVC/2/ROOT", HRESULT_FROM_WIN32(ERROR_PATH_BUSY)},
        {"no metabase", false, L"/LM/W3SVC/1/ROOT", E_POINTER},
    };
    for (const auto& c : cases) {
        IisMetabase::Key key;
        EXPECT_EQ(key.Open(c.admin ? admin_.Get() : nullptr, c.path, 30000), c.result) << c.what;
        EXPECT_EQ(key.IsOpen(), SUCCEEDED(c.result)) << c.what;
        std::wstring name = L"untouched";
        const HRESULT enumerated = key.SubKeyName(L"/", 0, name);
        const IisMetabase::Answer answer = key.GetData(L"", {MD_VR_PATH, 0, IIS_MD_UT_FILE, ALL_METADATA}, 64);
        if (SUCCEEDED(c.result))
            continue;
        EXPECT_EQ(enumerated, E_HANDLE) << c.what;
        EXPECT_EQ(name, L"untouched") << c.what;
        EXPECT_EQ(answer.result, E_HANDLE) << c.what;
    }
}

TEST_F(MetabaseKeyTest, SubKeysInStoreOrderUntilTheEnumerationEnds)
{
    IisMetabase::Key key;
    ASSERT_EQ(key.Open(admin_.Get(), L"/LM/W3SVC/1/ROOT", 30000), S_OK);
    std::vector<std::wstring> names;
    std::wstring name;
    HRESULT result = S_OK;
    for (DWORD index = 0; SUCCEEDED(result = key.SubKeyName(L"/", index, name)); ++index)
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"shop", L"long"}));
    EXPECT_EQ(result, HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS));
}

TEST_F(MetabaseKeyTest, AValueIsReadIntoABufferOfTheLengthAskedFor)
{
    IisMetabase::Key key;
    ASSERT_EQ(key.Open(admin_.Get(), L"/LM/W3SVC/1/ROOT", 30000), S_OK);
    const IisMetabase::Query any{MD_VR_PATH, METADATA_NO_ATTRIBUTES, IIS_MD_UT_FILE, ALL_METADATA};
    const struct {
        const wchar_t* path;
        std::wstring value;
    } cases[] = {
        {L"", L"C:\\web"},
        {L"/shop", L"D:\\shop"},
        {L"/long", kLongPath},
    };
    for (const auto& c : cases) {
        const DWORD bytes = static_cast<DWORD>((c.value.size() + 1) * sizeof(wchar_t));
        const IisMetabase::Answer probe = key.GetData(c.path, any, 0);
        EXPECT_EQ(probe.result, HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(probe.required, bytes);
        EXPECT_TRUE(probe.data.empty());

        const IisMetabase::Answer shortBuffer = key.GetData(c.path, any, bytes - 2);
        EXPECT_EQ(shortBuffer.result, HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
        EXPECT_EQ(shortBuffer.required, bytes);

        const IisMetabase::Answer read = key.GetData(c.path, any, probe.required);
        ASSERT_EQ(read.result, S_OK);
        EXPECT_EQ(read.dataType, static_cast<DWORD>(STRING_METADATA));
        EXPECT_EQ(read.dataLength, bytes);
        EXPECT_TRUE(Text(read) == c.value + L'\0') << read.data.size();
    }
    // A missing value and a key that is not there are the store's own answers.
    EXPECT_EQ(key.GetData(L"/shop", {MD_SERVER_COMMENT, 0, IIS_MD_UT_SERVER, ALL_METADATA}, 64).result,
              MD_ERROR_DATA_NOT_FOUND);
    EXPECT_EQ(key.GetData(L"/none", any, 64).result, HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
}

TEST_F(MetabaseKeyTest, OpeningAgainMovesTheKeyAndAFailureLeavesItClosed)
{
    IisMetabase::Key key;
    ASSERT_EQ(key.Open(admin_.Get(), L"/LM/W3SVC/1/ROOT", 30000), S_OK);
    ASSERT_EQ(key.Open(admin_.Get(), L"/LM/W3SVC/1/ROOT/shop", 30000), S_OK);
    std::wstring name;
    EXPECT_EQ(key.SubKeyName(L"/", 0, name), HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS));
    EXPECT_NE(key.Open(admin_.Get(), L"/LM/W3SVC/9", 30000), S_OK);
    EXPECT_FALSE(key.IsOpen());
}

TEST_F(MetabaseKeyTest, CreationAnswersWhetherTheStoreIsThere)
{
    ASSERT_TRUE(TestSupport::UseSiteDescription(files_.Description(L"absent metabase\n")));
    Framework::ComPtr<IMSAdminBaseW> admin;
    EXPECT_TRUE(FAILED(IisMetabase::Create(admin)));
    EXPECT_FALSE(admin);
}

}
