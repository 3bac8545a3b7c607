// The site search strategies against the IIS store stand-in, which answers both stores from a
// site description, over real folders on disk.
#include "AppHostStrategy.h"
#include "MetabaseStrategy.h"
#include <TestSupport/SiteFiles.h>
#include "SiteNodeType.h"
#include "SiteTreeNode.h"
#include "Win32Folders.h"

#include <Framework/Handles.h>
#include <TestSupport/IisStoreStandIn.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Orvane;
using namespace Orvane::Orvanedock;
using TestSupport::SiteFiles;

namespace {

const wchar_t kSites[] = LR"(site 1 Default Web Site
root {B}\one
vdir /img {B}\pictures
vdir /odd {B}\wrong
value /LM/W3SVC/1/ROOT/odd 3001 unterminated {B}\odd
app /shop {B}\shop
vdir /shop/big {B}\big
dir /plain
app /app {B}\apps
app /application {B}\application
site 2 Second
root %SystemDrive%\{S}\www
fail-open /LM/W3SVC/2/ROOT
site 3 Third
root {B}\three
value /LM/W3SVC/3 1015 dword 7
id-as-text
)";

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// "name:type" of each child.
std::vector<std::string> Children(const SiteTreeNode& node)
{
    std::vector<std::string> texts;
    for (const auto& child : node.Children())
        texts.push_back(Narrow(child->Item().name) + ":" + std::to_string(child->Item().nodeType));
    return texts;
}

// A node for the path and the children a strategy gives it.
struct ChildrenCase {
    const char* what;
    std::wstring path;
    int type;
    std::vector<std::string> children;
};

struct StoreFixture : ::testing::Test {
    Framework::ComInitialization com;
    SiteFiles files{L"orvanedock-sites"};
    Util::Win32Folders folders;
    SiteTreeContext context;
    std::unique_ptr<SiteTreeNode> root;

    void SetUp() override
    {
        ASSERT_EQ(S_OK, TestSupport::RegisterIisStoreStandIn());
        ASSERT_TRUE(files.Folders({L"one\\a\\inner", L"one\\b", L"one\\.hidden", L"pictures\\p1", L"odd\\o1",
                                   L"wrong\\w1", L"shop\\images", L"shop\\css", L"big\\b1", L"apps\\x\\wrong",
                                   L"application\\x\\right", L"three\\t", L"D:\\www\\w"}));
        UseDescription(kSites);
        root = std::make_unique<SiteTreeNode>(context);
    }
    void TearDown() override { TestSupport::UseSiteDescription(L""); }
    void UseDescription(const std::wstring& text)
    {
        const std::wstring path = files.Description(text);
        ASSERT_FALSE(path.empty());
        ASSERT_TRUE(TestSupport::UseSiteDescription(path));
    }
    // A node below the root for a metabase path.
    SiteTreeNode& Node(const std::wstring& name, const std::wstring& path, int type, const std::wstring& folder = L"")
    {
        EXPECT_TRUE(root->AddChild(name, path, folder, type));
        return *root->Children().back();
    }
    void ExpectChildren(Util::IISSiteSearchStrategy& strategy, const std::vector<ChildrenCase>& cases)
    {
        for (const ChildrenCase& c : cases) {
            SiteTreeNode& node = Node(L"n", c.path, c.type);
            strategy.Expand(node);
            EXPECT_EQ(c.children, Children(node)) << c.what;
        }
    }
};

TEST_F(StoreFixture, MetabaseSitesFoldersAndVirtualDirectories)
{
    Util::IISSiteSearchStrategyAdminBase metabase(folders);
    ASSERT_TRUE(metabase.available);

    // Sites: "Info" and "Filters" are no sites; a comment of the wrong type leaves "/" + number.
    EXPECT_EQ(3, metabase.Expand(*root));
    EXPECT_EQ((std::vector<std::string>{"Default Web Site:8", "Second:8", "/3:8"}), Children(*root));
    EXPECT_EQ(L"/LM/W3SVC/1/ROOT", root->Children()[0]->Item().metabasePath);

    struct Case {
        const char* what;
        std::wstring path;
        int type;
        std::wstring folder;
        std::vector<std::string> children;
    } cases[] = {
        // Folders of the virtual root (no dot folders, in the order the disk lists them), then the
        // keys of type IIsWebVirtualDir.
        {"site", L"/LM/W3SVC/1/ROOT", kNodeWebSite, L"",
         {"a:64", "b:64", "img:16", "odd:16", "shop:16", "app:16", "application:16"}},
        // The virtual root path is stored without its terminator: read to its stored end only.
        {"unterminated path", L"/LM/W3SVC/1/ROOT/odd", kNodeVirtualDirectory, L"", {"o1:64"}},
        {"application key", L"/LM/W3SVC/1/ROOT/shop", kNodeVirtualDirectory, L"", {"css:64", "images:64", "big:16"}},
        // A physical folder is walked on its own path; it has no key of its own.
        {"folder", L"/LM/W3SVC/1/ROOT/a", kNodePhysicalDirectory, files.Base() + L"\\one\\a", {"inner:64"}},
        // The site's key cannot be opened.
        {"failed open", L"/LM/W3SVC/2/ROOT", kNodeWebSite, L"", {}},
    };
    for (const Case& c : cases) {
        SiteTreeNode& node = Node(L"n", c.path, c.type, c.folder);
        metabase.Expand(node);
        EXPECT_EQ(c.children, Children(node)) << c.what;
    }
    // A site's folders carry their folder on disk.
    SiteTreeNode& site = *root->Children()[3];
    ASSERT_FALSE(site.Children().empty());
    EXPECT_EQ(files.Base() + L"\\one\\a", site.Children()[0]->Item().physicalPath);
    EXPECT_EQ(L"/LM/W3SVC/1/ROOT/a", site.Children()[0]->Item().metabasePath);
}

// The metabase strategy reads a value with one call into a buffer of 65,535 bytes: a longer value
// is not read at all (not cut), as any value that cannot be read.
TEST_F(StoreFixture, MetabaseValuesLongerThanItsBufferCountAsNone)
{
    const std::wstring longName(40000, L'n');
    UseDescription(L"site 4 " + longName + L"\nroot " + files.Base() + L"\\three\\" + std::wstring(33000, L'x') +
                   L"\nsite 5 " + std::wstring(32766, L's') + L"\nroot " + files.Base() + L"\\one\n");
    Util::IISSiteSearchStrategyAdminBase metabase(folders);
    ASSERT_TRUE(metabase.available);
    EXPECT_EQ(2, metabase.Expand(*root));
    ASSERT_EQ(2u, root->Children().size());
    // 40,001 characters with the terminator do not fit; 32,767 fill the buffer but one byte (the
    // tree keeps the beginning of so long a name).
    EXPECT_TRUE(root->Children()[0]->Item().name == L"/4");
    const std::wstring& fitting = root->Children()[1]->Item().name;
    EXPECT_TRUE(!fitting.empty() && fitting == std::wstring(fitting.size(), L's')) << fitting.size();
    // A virtual root path that does not fit gives the site no folders.
    EXPECT_EQ(0, metabase.Expand(*root->Children()[0]));
    EXPECT_EQ(2, metabase.Expand(*root->Children()[1]));
}

TEST_F(StoreFixture, ApplicationHostSitesApplicationsAndFolders)
{
    Util::IISSiteSearchStrategyAHAdmin apphost(folders);
    ASSERT_TRUE(apphost.available);

    // The walk ends at the site whose "id" is no number.
    EXPECT_EQ(2, apphost.Expand(*root));
    EXPECT_EQ((std::vector<std::string>{"Default Web Site:8", "Second:8"}), Children(*root));

    ExpectChildren(apphost, {
        {"site", L"/LM/W3SVC/1/ROOT", kNodeWebSite,
         {"a:64", "b:64", "img:16", "odd:16", "shop:32", "app:32", "application:32"}},
        {"application", L"/LM/W3SVC/1/ROOT/shop", kNodeApplication, {"css:64", "images:64", "big:16"}},
        // /app is no beginning of /application/x.
        {"folder of /application", L"/LM/W3SVC/1/ROOT/application/x", kNodePhysicalDirectory, {"right:64"}},
        {"virtual directory", L"/LM/W3SVC/1/ROOT/img", kNodeVirtualDirectory, {"p1:64"}},
        // "%SystemDrive%\..." as IIS 7 stores it.
        {"site with an environment reference", L"/LM/W3SVC/2/ROOT", kNodeWebSite, {"w:64"}},
        {"no such site", L"/LM/W3SVC/9/ROOT", kNodeWebSite, {}},
        {"no site number", L"/LM/W3SVC/x/ROOT/a", kNodePhysicalDirectory, {}},
    });
}

TEST_F(StoreFixture, ApplicationHostNestedApplicationHasItsOwnFolders)
{
    // /shop/api is nested in /shop and listed after it, as IIS lists them.
    ASSERT_TRUE(files.Folders({L"api\\v1\\deep", L"docs\\d1", L"shop\\api\\outer"}));
    UseDescription(LR"(absent metabase
site 1 Default Web Site
root {B}\one
app /shop {B}\shop
app /shop/api {B}\api
vdir /shop/api/docs {B}\docs
)");
    Util::IISSiteSearchStrategyAHAdmin apphost(folders);
    ASSERT_TRUE(apphost.available);

    ExpectChildren(apphost, {
        {"site", L"/LM/W3SVC/1/ROOT", kNodeWebSite, {"a:64", "b:64", "shop:32", "shop/api:32"}},
        {"nested application", L"/LM/W3SVC/1/ROOT/shop/api", kNodeApplication, {"v1:64", "docs:16"}},
        {"folder of the nested application", L"/LM/W3SVC/1/ROOT/shop/api/v1", kNodePhysicalDirectory, {"deep:64"}},
        {"its virtual directory", L"/LM/W3SVC/1/ROOT/shop/api/docs", kNodeVirtualDirectory, {"d1:64"}},
        {"outer application", L"/LM/W3SVC/1/ROOT/shop", kNodeApplication, {"api:64", "css:64", "images:64"}},
    });
}

TEST_F(StoreFixture, TreeAsksTheMetabaseFirstAndTheApplicationHostWhenItIsAbsent)
{
    struct Case {
        const char* what;
        std::wstring extra;
        std::vector<std::string> sites;
    } cases[] = {
        {"both stores: the metabase answers", L"", {"Default Web Site:8", "Second:8", "/3:8"}},
        {"no metabase: the application host answers", L"absent metabase\n", {"Default Web Site:8", "Second:8"}},
        {"no store", L"absent metabase\nabsent apphost\n", {}},
    };
    for (const Case& c : cases) {
        UseDescription(c.extra + kSites);
        Util::IISSiteSearchStrategyAdminBase metabase(folders);
        Util::IISSiteSearchStrategyAHAdmin apphost(folders);
        SiteTreeContext tree;
        tree.strategies = {&metabase, &apphost};
        SiteTreeNode top(tree);
        top.Expand();
        EXPECT_EQ(c.sites, Children(top)) << c.what;
    }
}

}
