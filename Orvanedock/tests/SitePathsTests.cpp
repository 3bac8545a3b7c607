// Metabase paths and the "/"-boundary path tests.
#include "DataObjectText.h"
#include "SitePaths.h"

#include <gtest/gtest.h>

using namespace Orvane::Util;

namespace {

TEST(SitePaths, SiteIdAndPathInSite)
{
    struct Case {
        std::wstring path;
        long id;
        bool isSite;
        std::wstring rest;
    } cases[] = {
        {L"/LM/W3SVC/12/ROOT/shop/img", 12, true, L"/shop/img"},
        {L"/LM/W3SVC/1/ROOT", 1, true, L""},
        {L"/LM/W3SVC/007/ROOT/a", 7, true, L"/a"}, // leading zeros count as digits of the key
        {L"/LM/W3SVC/0/ROOT", 0, false, L""},
        {L"/LM/W3SVC/x/ROOT", 0, false, L""},
        {L"/LM/W3SVC/", 0, false, L""},    // the text ends after the prefix
        {L"/LM/W3", 0, false, L""},        // shorter than the prefix
        {L"", 0, false, L""},
        {L"/LM/W3SVC/5", 5, false, L""},   // a number but no ROOT
        {L"/LM/W3SVC/5/ROOTS/a", 5, false, L""},
        {L"/LM/W3SVC/99999999999999999999/ROOT", 0, false, L""}, // overflow is no number
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.id, SiteIdFromMetaPath(c.path)) << std::string(c.path.begin(), c.path.end());
        auto rest = PathInSite(c.path);
        ASSERT_EQ(c.isSite, rest.has_value()) << std::string(c.path.begin(), c.path.end());
        if (rest) {
            EXPECT_EQ(c.rest, *rest);
        }
    }
}

TEST(SitePaths, BeginningsRespectSlashBoundaries)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* prefix;
        bool begins;
    } cases[] = {
        {L"/app/x", L"/app", true},     {L"/app", L"/app", true},
        {L"/application/x", L"/app", false}, {L"/ap", L"/app", false},
        {L"/anything", L"/", true},     {L"", L"/", true},
        {L"/a/b/c", L"/a/b", true},     {L"/a/bc", L"/a/b", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.begins, PathBeginsWith(c.path, c.prefix)) << c.path << " / " << c.prefix;
}

TEST(SitePaths, RelativePathsAndNestedDirectories)
{
    EXPECT_EQ(L"/shop/img", PathRelativeToApplication(L"/shop/img", L"/"));
    EXPECT_EQ(L"/img", PathRelativeToApplication(L"/shop/img", L"/shop"));
    EXPECT_EQ(L"/", PathRelativeToApplication(L"/shop", L"/shop"));
    EXPECT_EQ(L"/", PathRelativeToApplication(L"", L"/"));
    EXPECT_EQ(L"/img", PathRelativeToVirtualDirectory(L"/img", L"/"));
    EXPECT_EQ(L"", PathRelativeToVirtualDirectory(L"/", L"/"));
    EXPECT_EQ(L"/x", PathRelativeToVirtualDirectory(L"/img/x", L"/img"));

    struct Case {
        const wchar_t* v;
        const wchar_t* relative;
        const wchar_t* below;
    } cases[] = {
        {L"/a/b", L"/a", L"/b"},   {L"/a/b/c", L"/a", L"/b/c"}, {L"/ab", L"/a", L""},
        {L"/a", L"/a", L""},       {L"/", L"/", L""},          {L"/img", L"/", L"/img"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.below, NestedPathBelow(c.v, c.relative)) << c.v << " under " << c.relative;
    EXPECT_TRUE(HasInnerSlash(L"/a/b"));
    EXPECT_FALSE(HasInnerSlash(L"/ab"));
    EXPECT_FALSE(HasInnerSlash(L"/"));
}

TEST(SitePaths, SiteKeysAndComposedPaths)
{
    const std::pair<const wchar_t*, bool> keys[] = {{L"1", true},       {L"42", true},  {L"0", false},
                                                    {L"Filters", false}, {L"Info", false}, {L"3x", false},
                                                    {L"", false}};
    for (auto [key, site] : keys)
        EXPECT_EQ(site, IsSiteKey(key)) << key;
    EXPECT_EQ(L"/LM/W3SVC/3/ROOT", SiteMetabasePath(L"3"));
    EXPECT_EQ(L"/LM/W3SVC/3/ROOT/a", ChildMetabasePath(L"/LM/W3SVC/3/ROOT", L"a"));
}

TEST(DataObjectText, PathWithSlashWithinTheBlock)
{
    using Orvane::Orvanedock::DataObjectText;
    const std::wstring root = L"/LM/W3SVC/";
    const std::wstring site = L"/LM/W3SVC/1/ROOT";
    const std::wstring fits = std::wstring(254, L'p');
    const std::wstring full = std::wstring(255, L'p');
    const std::wstring over = std::wstring(256, L'p');
    EXPECT_EQ(L"/LM/W3SVC//", DataObjectText(&root));
    EXPECT_EQ(L"/LM/W3SVC/", DataObjectText(nullptr));
    EXPECT_EQ(L"/LM/W3SVC/1/ROOT/", DataObjectText(&site));
    EXPECT_EQ(fits + L"/", DataObjectText(&fits));
    EXPECT_EQ(full, DataObjectText(&full)) << "no room for the slash: the same node without it";
    EXPECT_EQ(L"", DataObjectText(&over)) << "never a cut path";
}

}
