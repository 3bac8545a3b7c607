// Both IIS store objects against the stand-in, which answers them from a site description.
#include <Exceptions/Exceptions.h>
#include <Metabase/AHAdminObject.h>
#include <Metabase/AdminBase.h>
#include <Metabase/MBAdminObject.h>

#include <Framework/Handles.h>
#include <RewriteConfig/Platform.h>
#include <TestSupport/IisStoreStandIn.h>
#include <TestSupport/SiteFiles.h>

#include <gtest/gtest.h>

#include <string>

using namespace Orvane::Metabase;
using Orvane::Quillon::Platform::WideToAnsi;

namespace {

const wchar_t kSites[] = LR"(site 1 Default Web Site
root C:\web
vdir /shop D:\shop
dir /shop/images
app /app E:\apps
app /application E:\application
value /LM/W3SVC/1/ROOT/odd 3001 unterminated G:\odd
value /LM/W3SVC/1/ROOT/half 3001 odd-length H:\h
value /LM/W3SVC/1/ROOT/num 3001 dword 42
site 2 Locked
root C:\two
fail-open /LM/W3SVC/2/ROOT
site 3 Slashed
root C:\web3\
site 4 Expanded
root %SystemDrive%\inetpub\wwwroot
site 5 Odd id
root C:\five
id-as-text
)";

std::wstring SystemDrive()
{
    wchar_t drive[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"SystemDrive", drive, MAX_PATH);
    return std::wstring(drive, length < MAX_PATH ? length : 0);
}

class StoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(TestSupport::RegisterIisStoreStandIn(), S_OK); }
    void TearDown() override { TestSupport::UseSiteDescription(L""); }

    // The description above with extra lines in front (such as "absent metabase").
    void Use(const std::wstring& before)
    {
        const std::wstring path = files_.Description(before + kSites);
        ASSERT_FALSE(path.empty());
        ASSERT_TRUE(TestSupport::UseSiteDescription(path));
    }

    Framework::ComInitialization com_;
    TestSupport::SiteFiles files_{L"quillpage-stores"};
};

struct WalkCase {
    const char* what;
    std::int32_t site;
    const wchar_t* urlPath;
    bool found;
    std::wstring metabase;  // the folder the metabase walk gives
    std::wstring appHost;   // the folder the IIS 7 walk gives
};

TEST_F(StoreTest, BothWalksOverTheSameSites)
{
    const WalkCase cases[] = {
        {"worked example", 1, L"/shop/images", true, L"D:\\shop\\images", L"D:\\shop\\images"},
        {"the root", 1, L"/", true, L"C:\\web", L"C:\\web"},
        {"the empty path", 1, L"", true, L"C:\\web", L"C:\\web"},
        {"a plain folder below the root", 1, L"/css/big", true, L"C:\\web\\css\\big", L"C:\\web\\css\\big"},
        {"a root ending in a backslash", 3, L"/images", true, L"C:\\web3\\images", L"C:\\web3\\images"},
        // IIS 7: the application's root directory makes "/app/", which no lookup equals.
        {"an application", 1, L"/app/x", true, L"E:\\apps\\x", L"C:\\web\\app\\x"},
        {"a prefix without a segment boundary", 1, L"/application", true, L"E:\\application",
         L"C:\\web\\application"},
        // The metabase compares keys without case, IIS 7 directory paths with it.
        {"case of a virtual directory", 1, L"/Shop/images", true, L"D:\\shop\\images", L"C:\\web\\Shop\\images"},
        {"a trailing slash", 1, L"/shop/", true, L"D:\\shop", L"D:\\shop"},
        {"an unterminated value: exactly its text", 1, L"/odd/x", true, L"G:\\odd\\x", L"C:\\web\\odd\\x"},
        {"an odd byte length: the whole characters", 1, L"/half", true, L"H:\\h", L"C:\\web\\half"},
        {"a number where a string belongs: the read fails", 1, L"/num/x", true, L"C:\\web\\x",
         L"C:\\web\\num\\x"},
        {"no such site", 9, L"/shop", false, L"untouched", L""},
    };
    for (const bool metabase : {true, false}) {
        Use(metabase ? L"" : L"absent metabase\n");
        const boost::shared_ptr<IAdminBase> store = CreateAdminObject();
        ASSERT_TRUE(store);
        ASSERT_EQ(dynamic_cast<CMBAdminObject*>(store.get()) != nullptr, metabase);
        ASSERT_EQ(dynamic_cast<CAHAdminObject*>(store.get()) != nullptr, !metabase);
        for (const WalkCase& c : cases) {
            std::wstring folder = L"untouched";
            EXPECT_EQ(store->GetSitePhysicalPath(c.site, c.urlPath, folder), c.found)
                << (metabase ? "metabase: " : "IIS 7: ") << c.what;
            EXPECT_EQ(folder, metabase ? c.metabase : c.appHost) << (metabase ? "metabase: " : "IIS 7: ") << c.what;
        }
    }
}

TEST_F(StoreTest, MetabaseKeyThatCannotBeOpenedLeavesTheOutputUntouched)
{
    Use(L"");
    CMBAdminObject store;
    std::wstring folder = L"untouched";
    EXPECT_FALSE(store.GetSitePhysicalPath(2, L"/", folder));
    EXPECT_EQ(folder, L"untouched");
    EXPECT_FALSE(store.GetPhysicalPath(L"/LM/W3SVC/2/ROOT", L"", folder));
    EXPECT_EQ(folder, L"untouched");
    EXPECT_FALSE(store.GetPhysicalPath(L"/LM/W3SVC/77/ROOT", L"", folder));
    EXPECT_EQ(folder, L"untouched");
}

TEST_F(StoreTest, MetabaseReadsOnlyAKeysOwnValue)
{
    Use(L"");
    CMBAdminObject store;
    const struct {
        const wchar_t* path;
        bool found;
        const wchar_t* folder;
    } cases[] = {
        {L"", true, L"C:\\web"},
        {L"/shop", true, L"D:\\shop"},
        {L"/shop/images", false, L""},  // inherits D:\shop, but only own values count
        {L"/num", false, L""},
        {L"/missing", false, L""},
    };
    for (const auto& c : cases) {
        std::wstring folder = L"left over";
        EXPECT_EQ(store.GetPhysicalPath(L"/LM/W3SVC/1/ROOT/", c.path, folder), c.found) << WideToAnsi(c.path);
        EXPECT_EQ(folder, c.folder) << WideToAnsi(c.path);
    }
}

// The size probe sizes the buffer: a virtual-root path of any length is read whole.
TEST_F(StoreTest, MetabaseReadsAValueOfAnyLengthWhole)
{
    const std::wstring longPath = L"L:\\" + std::wstring(40000, L'l');
    Use(L"site 6 Long\nroot " + longPath + L"\n");
    CMBAdminObject store;
    std::wstring folder;
    EXPECT_TRUE(store.GetPhysicalPath(L"/LM/W3SVC/6/ROOT", L"", folder));
    EXPECT_TRUE(folder == longPath) << folder.size();
    EXPECT_TRUE(store.GetSitePhysicalPath(6, L"/css", folder));
    EXPECT_TRUE(folder == longPath + L"\\css") << folder.size();
}

TEST_F(StoreTest, AppHostMatchesSitePathsAndExpandsTheFolder)
{
    Use(L"absent metabase\n");
    CAHAdminObject store;
    const struct {
        const wchar_t* metaPath;
        const wchar_t* path;
        bool found;
        std::wstring folder;
    } cases[] = {
        {L"/LM/W3SVC/1/ROOT/", L"/shop", true, L"D:\\shop"},
        {L"/lm/w3svc/1", L"/", true, L"C:\\web"},
        {L"/LM/W3SVC/1/anything", L"/app/", true, L"E:\\apps"},
        {L"/LM/W3SVC/4/ROOT/", L"/", true, SystemDrive() + L"\\inetpub\\wwwroot"},
        {L"/LM/W3SVC/1/ROOT/", L"/Shop", false, L""},
        {L"/LM/W3SVC/1/ROOT/", L"/shop/images", false, L""},
        {L"/LM/W3SVCX/1", L"/", false, L""},
        {L"/LM/W3SVC", L"/", false, L""},
        {L"/LM/W3SVC/9/ROOT/", L"/", false, L""},
        // The site's id is no integer: the site search ends without a match.
        {L"/LM/W3SVC/5/ROOT/", L"/", false, L""},
    };
    ASSERT_FALSE(SystemDrive().empty());
    for (const auto& c : cases) {
        std::wstring folder = L"left over";
        EXPECT_EQ(store.GetPhysicalPath(c.metaPath, c.path, folder), c.found)
            << WideToAnsi(c.metaPath) << " " << WideToAnsi(c.path);
        EXPECT_EQ(folder, c.folder) << WideToAnsi(c.metaPath) << " " << WideToAnsi(c.path);
    }
}

TEST_F(StoreTest, FactoryTakesTheFirstStoreThatCanBeCreated)
{
    const struct {
        const wchar_t* lines;
        bool metabase;
        bool appHost;
    } cases[] = {
        {L"", true, false},
        {L"absent metabase\n", false, true},
        {L"absent apphost\n", true, false},
        {L"absent metabase\nabsent apphost\n", false, false},
    };
    for (const auto& c : cases) {
        Use(c.lines);
        const boost::shared_ptr<IAdminBase> store = CreateAdminObject();
        EXPECT_EQ(dynamic_cast<CMBAdminObject*>(store.get()) != nullptr, c.metabase) << WideToAnsi(c.lines);
        EXPECT_EQ(dynamic_cast<CAHAdminObject*>(store.get()) != nullptr, c.appHost) << WideToAnsi(c.lines);
        EXPECT_EQ(static_cast<bool>(store), c.metabase || c.appHost) << WideToAnsi(c.lines);
    }
    // No description at all: both stores are absent.
    ASSERT_TRUE(TestSupport::UseSiteDescription(L""));
    EXPECT_FALSE(CreateAdminObject());
    EXPECT_THROW({ CMBAdminObject store; }, Orvane::Exceptions::CreateComObjectError);
    EXPECT_THROW({ CAHAdminObject store; }, Orvane::Exceptions::CreateComObjectError);
}

}
