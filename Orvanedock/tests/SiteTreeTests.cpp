// The site tree model: insertion with the placeholder, lazy expansion, the order in which the
// strategies are asked, and finding nodes by their tree item.
#include "FakeSiteStore.h"

#include <gtest/gtest.h>

using namespace OrvanedockTest;

namespace {

// A strategy that adds a fixed list of names below every node it is asked for, and answers a
// count of its choice.
class ListStrategy : public IISSiteSearchStrategy {
public:
    ListStrategy(IFolderSource& folders, std::vector<std::wstring> names, int answer, bool isAvailable = true)
        : IISSiteSearchStrategy(folders), names_(std::move(names)), answer_(answer)
    {
        available = isAvailable;
    }
    int calls = 0;
    int FindSites(SiteTreeNode* node) override { return Add(*node, kNodeWebSite); }
    int FindDirectories(SiteTreeNode*, const std::wstring*) override { return 0; }
    int FindVirtualDirectories(SiteTreeNode* node) override { return Add(*node, kNodeVirtualDirectory); }

private:
    int Add(SiteTreeNode& node, int type)
    {
        ++calls;
        for (const std::wstring& name : names_)
            node.AddChild(name, node.Item().metabasePath + L"/" + name, L"", type);
        return answer_;
    }
    std::vector<std::wstring> names_;
    int answer_;
};

struct TreeFixture : ::testing::Test {
    FakeTree tree;
    FakeFolders folders;
    SiteTreeContext context;
    void SetUp() override { context.tree = &tree; }
};

TEST_F(TreeFixture, RootWithPlaceholderThenChildrenOnFirstExpansionOnly)
{
    ListStrategy sites(folders, {L"Default Web Site", L"Admin"}, 2);
    context.strategies = {&sites};
    SiteTreeNode root(context);
    EXPECT_EQ(L"IIS Web Sites", root.Item().name);
    EXPECT_EQ(L"/LM/W3SVC/", root.Item().metabasePath);
    EXPECT_EQ(kNodeRoot, root.Item().nodeType);

    TreeItem item = root.Insert();
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(item, root.Insert()) << "inserted once";
    EXPECT_EQ(std::vector<std::wstring>{L"temp"}, tree.ChildTexts(item));
    EXPECT_TRUE(tree.entries[0].sorted);
    EXPECT_FALSE(tree.entries[1].sorted) << "the placeholder goes last";

    EXPECT_EQ(2u, root.Expand());
    EXPECT_EQ((std::vector<std::wstring>{L"Default Web Site", L"Admin"}), tree.ChildTexts(item));
    for (const auto& child : root.Children()) {
        EXPECT_EQ(std::vector<std::wstring>{L"temp"}, tree.ChildTexts(child->GetTreeItem()));
        EXPECT_EQ(1, tree.entries[reinterpret_cast<size_t>(child->GetTreeItem()) - 1].image);
    }
    EXPECT_EQ(2u, root.Expand());
    EXPECT_EQ(1, sites.calls) << "a second expansion asks nobody";

    SiteTreeNode* admin = root.Children()[1].get();
    EXPECT_EQ(admin, root.FindByItem(admin->GetTreeItem()));
    EXPECT_EQ(&root, root.FindByItem(item));
    EXPECT_EQ(nullptr, root.FindByItem(nullptr));
    EXPECT_EQ(nullptr, root.FindByItem(reinterpret_cast<TreeItem>(999)));
}

TEST_F(TreeFixture, NodeWithoutChildrenLosesItsPlaceholder)
{
    ListStrategy nothing(folders, {}, 0);
    context.strategies = {&nothing};
    SiteTreeNode root(context);
    TreeItem item = root.Insert();
    EXPECT_EQ(0u, root.Expand());
    EXPECT_TRUE(tree.ChildTexts(item).empty());
    EXPECT_FALSE(root.NotExpanded());
}

TEST_F(TreeFixture, StrategiesInOrderUntilOneReportsChildren)
{
    struct Case {
        const char* what;
        int firstAnswer;
        bool firstAvailable;
        std::vector<std::wstring> expected;
        int secondCalls;
    } cases[] = {
        {"first reports: second not asked", 1, true, {L"a"}, 0},
        {"first adds but reports 0: both", 0, true, {L"a", L"b"}, 1},
        {"first unavailable: skipped", 1, false, {L"b"}, 1},
    };
    for (const Case& c : cases) {
        ListStrategy first(folders, {L"a"}, c.firstAnswer, c.firstAvailable);
        ListStrategy second(folders, {L"b"}, 1);
        context.strategies = {&first, &second};
        SiteTreeNode root(context);
        root.Insert();
        root.Expand();
        std::vector<std::wstring> names;
        for (const auto& child : root.Children())
            names.push_back(child->Item().name);
        EXPECT_EQ(c.expected, names) << c.what;
        EXPECT_EQ(c.secondCalls, second.calls) << c.what;
        EXPECT_EQ(c.firstAvailable ? 1 : 0, first.calls) << c.what;
    }
}

TEST_F(TreeFixture, PhysicalFolderWalkIsCountedEvenWhenItEndsInAnError)
{
    // Two strategies that both walk the disk: folders found before a failed walk are reported,
    // so the second strategy does not add them again.
    folders.folders[L"C:\\site\\a"] = {L"x", L"y"};
    folders.failAfterFirst = L"C:\\site\\a";
    IISSiteSearchStrategy first(folders), second(folders);
    first.available = second.available = true;
    context.strategies = {&first, &second};
    SiteTreeNode root(context);
    ASSERT_TRUE(root.AddChild(L"a", L"/LM/W3SVC/1/ROOT/a", L"C:\\site\\a", kNodePhysicalDirectory));
    SiteTreeNode& folder = *root.Children()[0];
    EXPECT_EQ(1u, folder.Expand());
    EXPECT_EQ(L"x", folder.Children()[0]->Item().name);
    EXPECT_EQ(L"/LM/W3SVC/1/ROOT/a/x", folder.Children()[0]->Item().metabasePath);
    EXPECT_EQ(L"C:\\site\\a\\x", folder.Children()[0]->Item().physicalPath);
    EXPECT_EQ(1u, folders.walked.size());
}

TEST_F(TreeFixture, EntriesWhosePathsWouldBeCutAreNotAdded)
{
    const std::wstring deep = L"C:\\" + std::wstring(250, L'd');
    folders.folders[deep] = {L"short", L"much-too-long-for-the-field"};
    IISSiteSearchStrategy walker(folders);
    SiteTreeNode root(context);
    ASSERT_TRUE(root.AddChild(L"d", L"/LM/W3SVC/1/ROOT/d", deep, kNodePhysicalDirectory));
    EXPECT_EQ(1, walker.FindDirectories(root.Children()[0].get(), nullptr));
    ASSERT_EQ(1u, root.Children()[0]->Children().size());
    EXPECT_EQ(L"short", root.Children()[0]->Children()[0]->Item().name);
}

}
