// The application-host listing rules on one site: what a site node and the nodes below it show.
#include "FakeSiteStore.h"

#include <gtest/gtest.h>

using namespace OrvanedockTest;

namespace {

AppHostSite ShopSite()
{
    AppHostSite site;
    site.id = 1;
    site.name = L"Default Web Site";
    site.applications = {
        {L"/",
         {{L"/", L"%SystemDrive%\\inetpub\\wwwroot"}, {L"/img", L"D:\\img"}, {L"/a/b", L"D:\\ab"}, {L"/a/b/c", L"D:\\abc"}}},
        {L"/app", {{L"/", L"D:\\apps"}}},
        {L"/application", {{L"/", L"D:\\application"}}},
        {L"/shop", {{L"/", L"D:\\shop"}, {L"/img/big", L"D:\\big"}}},
        {L"/shop/api", {{L"/", L"D:\\api"}, {L"/docs", L"D:\\docs"}}},
    };
    return site;
}

struct ListingFixture : ::testing::Test {
    FakeTree tree;
    FakeFolders folders;
    SiteTreeContext context;
    std::unique_ptr<SiteStrategy> strategy;
    std::unique_ptr<SiteTreeNode> root;

    void SetUp() override
    {
        folders.environment[L"SystemDrive"] = L"C:";
        folders.folders[L"C:\\inetpub\\wwwroot"] = {L"a", L"aspnet_client"};
        folders.folders[L"C:\\inetpub\\wwwroot/a"] = {L"inner"};
        folders.folders[L"D:\\shop"] = {L"img"};
        folders.folders[L"D:\\shop/img"] = {L"thumbs"};
        folders.folders[L"D:\\shop/api"] = {L"outer"};
        folders.folders[L"D:\\api"] = {L"v1"};
        folders.folders[L"D:\\api/v1"] = {L"inner"};
        folders.folders[L"D:\\shop/api/v1"] = {L"outer"};
        folders.folders[L"D:\\shop/apix"] = {L"right"};
        folders.folders[L"D:\\apix"] = {L"wrong"};
        folders.folders[L"D:\\application/x"] = {L"right"};
        folders.folders[L"D:\\appslication/x"] = {L"wrong"};
        strategy = std::make_unique<SiteStrategy>(folders, ShopSite());
        context.tree = &tree;
        context.strategies = {strategy.get()};
        root = std::make_unique<SiteTreeNode>(context);
        root->Insert();
        root->Expand();
    }

    // The children of a node made for the path, as "name:type" texts.
    std::vector<std::string> ChildrenOf(const std::wstring& rest, int type)
    {
        SiteTreeNode& site = *root->Children().at(0);
        std::wstring name = rest.empty() ? L"" : rest.substr(rest.rfind(L'/') + 1);
        SiteTreeNode* node = &site;
        if (!rest.empty()) {
            EXPECT_TRUE(site.AddChild(name, site.Item().metabasePath + rest, L"", type));
            node = site.Children().back().get();
        }
        node->Expand();
        std::vector<std::string> texts;
        for (const auto& child : node->Children())
            texts.push_back(std::string(child->Item().name.begin(), child->Item().name.end()) + ":" +
                            std::to_string(child->Item().nodeType));
        return texts;
    }
};

TEST_F(ListingFixture, SiteNodeListsApplicationsOneSegmentDirectoriesAndRootFolders)
{
    ASSERT_EQ(1u, root->Children().size());
    EXPECT_EQ(L"/LM/W3SVC/1/ROOT", root->Children()[0]->Item().metabasePath);
    // Folders of the root's "/" directory (its %SystemDrive% expanded), its one-segment virtual
    // directories, then every other application; /a/b is not at this level.
    EXPECT_EQ((std::vector<std::string>{"a:64", "aspnet_client:64", "img:16", "app:32", "application:32", "shop:32",
                                        "shop/api:32"}),
              ChildrenOf(L"", kNodeWebSite));
}

TEST_F(ListingFixture, NodesBelowTheSiteAreLocatedFromTheirPath)
{
    struct Case {
        const wchar_t* rest;
        int type;
        std::vector<std::string> children;
    } cases[] = {
        // The application's own root directory walked on the path, and the nested directory.
        {L"/shop/img", kNodePhysicalDirectory, {"thumbs:64", "big:16"}},
        // /app is no beginning of /application: the right application's folders.
        {L"/application/x", kNodePhysicalDirectory, {"right:64"}},
        // Under folder /a of the root application: /a/b is listed as b, /a/b/c is not.
        {L"/a", kNodePhysicalDirectory, {"inner:64", "b:16"}},
        {L"/img", kNodeVirtualDirectory, {}},
        // A nested application is its own, though its parent comes first in the collection: its
        // folders and virtual directories, never those of /shop + "/api".
        {L"/shop/api", kNodeApplication, {"v1:64", "docs:16"}},
        {L"/shop/api/v1", kNodePhysicalDirectory, {"inner:64"}},
        // Its parent keeps its own, also where a path of it begins with the nested one's text.
        {L"/shop", kNodeApplication, {"img:64"}},
        {L"/shop/apix", kNodePhysicalDirectory, {"right:64"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.children, ChildrenOf(c.rest, c.type)) << std::string(c.rest, c.rest + wcslen(c.rest));
}

TEST_F(ListingFixture, UnexpandedReferenceWouldFindNoFolder)
{
    // The walk is asked for the expanded folder only.
    ChildrenOf(L"", kNodeWebSite);
    for (const std::wstring& folder : folders.walked)
        EXPECT_EQ(std::wstring::npos, folder.find(L'%'));
}

}
