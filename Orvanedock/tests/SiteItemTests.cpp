// The site tree record: what fits its fields, and where a long name is cut.
#include "SiteItem.h"
#include "SiteNodeType.h"

#include <gtest/gtest.h>

using namespace Orvane::Orvanedock;

namespace {

TEST(SiteItem, PathsThatDoNotFitGiveNoRecordNamesAreCut)
{
    const std::wstring pair = L"\xD83D\xDE00"; // one character in two UTF-16 units
    struct Case {
        std::wstring name, metabasePath, physicalPath;
        bool made;
        std::wstring expectedName;
    } cases[] = {
        {L"shop", L"/LM/W3SVC/1/ROOT/shop", L"C:\\www\\shop", true, L"shop"},
        {std::wstring(300, L'n'), L"/LM/W3SVC/1/ROOT/n", L"", true, std::wstring(255, L'n')},
        // The cut falls between the halves of a pair: the whole pair goes.
        {std::wstring(254, L'a') + pair, L"/m", L"", true, std::wstring(254, L'a')},
        {std::wstring(253, L'a') + pair, L"/m", L"", true, std::wstring(253, L'a') + pair},
        {L"x", std::wstring(255, L'/'), std::wstring(259, L'p'), true, L"x"},
        // A cut path would name another node or folder.
        {L"x", std::wstring(256, L'/'), L"", false, L""},
        {L"x", L"/m", std::wstring(260, L'p'), false, L""},
    };
    for (const Case& c : cases) {
        auto item = SiteItem::Make(c.name, c.metabasePath, c.physicalPath, kNodePhysicalDirectory);
        ASSERT_EQ(c.made, item != nullptr) << c.name.size() << "/" << c.metabasePath.size();
        if (item) {
            EXPECT_EQ(c.expectedName, item->name);
            EXPECT_EQ(c.metabasePath, item->metabasePath);
            EXPECT_EQ(c.physicalPath, item->physicalPath);
            EXPECT_EQ(kNodePhysicalDirectory, item->nodeType);
        }
    }
}

TEST(SiteItem, ImageOfEachNodeType)
{
    const std::pair<int, int> cases[] = {{kNodeRoot, 0},           {kNodeWebSite, 1}, {kNodeVirtualDirectory, 3},
                                         {kNodeApplication, 4},    {kNodePhysicalDirectory, 2},
                                         {0, 2},                   {12, 2}};
    for (auto [type, image] : cases)
        EXPECT_EQ(image, ImageIndexOf(type)) << type;
}

}
