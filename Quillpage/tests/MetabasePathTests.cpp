#include "MetabasePath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Orvane::Quillon::ParseMetabasePath;
using Orvane::Quillon::SiteLocation;

struct PathCase {
    const wchar_t* path;
    std::int32_t siteId;
    const wchar_t* pathInSite;
};

class MetabasePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(MetabasePathTest, GivesSiteAndPathInSite)
{
    const PathCase& c = GetParam();
    SiteLocation location = ParseMetabasePath(c.path);
    EXPECT_EQ(location.siteId, c.siteId) << std::wstring(c.path).size();
    EXPECT_EQ(location.pathInSite, c.pathInSite);
}

INSTANTIATE_TEST_SUITE_P(Paths, MetabasePathTest, ::testing::Values(
    PathCase{L"/LM/W3SVC/1/ROOT/", 1, L"/"},
    PathCase{L"/LM/W3SVC/3/ROOT/shop/images/", 3, L"/shop/images/"},
    PathCase{L"/LM/W3SVC/1/ROOT", 1, L"/"},
    PathCase{L"/lm/w3svc/12/root/x", 12, L"/x"},
    PathCase{L"/LM/W3SVC//", -1, L"/"},
    PathCase{L"/LM/W3SVC/1/", -1, L"/"},
    PathCase{L"", -1, L"/"},
    // A search: the pattern may stand anywhere in the text.
    PathCase{L"prefix/W3SVC/7/Root/a b/", 7, L"/a b/"},
    // A number that does not fit 32 bits names no site rather than wrapping round to another one.
    PathCase{L"/LM/W3SVC/99999999999/ROOT/", 2147483647, L"/"},
    PathCase{L"/LM/W3SVC/0/ROOT/", 0, L"/"},
    PathCase{L"/LM/W3SVC/x1/ROOT/", -1, L"/"}));

}
