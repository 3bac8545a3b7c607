// The rules that turn a URL path inside a site into a folder, against small in-memory stores that
// record what they are asked.
#include <core/StoreWalks.h>

#include <RewriteConfig/Platform.h>

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <stdexcept>
#include <vector>

using namespace Orvane::Metabase;
using Orvane::Quillon::Platform::WideToAnsi;

namespace {

typedef VirtualRootLookup::Answer Answer;

struct MetabaseCase {
    const char* what;
    std::map<std::wstring, VirtualRootLookup> store;  // relative path -> its own value
    std::wstring urlPath;
    std::vector<std::wstring> asked;
    std::wstring folder;
};

VirtualRootLookup Value(const std::wstring& text) { return {Answer::Value, text}; }
VirtualRootLookup Failed() { return {Answer::ReadFailed, L"not to be used"}; }

TEST(MetabaseWalk, AsksEveryPrefixAndBuildsTheFolder)
{
    const MetabaseCase cases[] = {
        {"worked example", {{L"", Value(L"C:\\web")}, {L"/shop", Value(L"D:\\shop")}}, L"/shop/images",
         {L"", L"/shop", L"/shop/images"}, L"D:\\shop\\images"},
        {"root ending in a backslash gets no second one", {{L"", Value(L"C:\\web\\")}}, L"/images",
         {L"", L"/images"}, L"C:\\web\\images"},
        {"the root: the empty path, then /", {{L"", Value(L"C:\\web")}, {L"/", Value(L"C:\\web")}}, L"/",
         {L"", L"/"}, L"C:\\web"},
        {"the root without a value of /", {{L"", Value(L"C:\\web")}}, L"/", {L"", L"/"}, L"C:\\web\\"},
        {"a failed read keeps what was built", {{L"", Value(L"C:\\web")}, {L"/shop", Failed()}},
         L"/shop/images", {L"", L"/shop", L"/shop/images"}, L"C:\\web\\images"},
        {"a deeper value replaces everything", {{L"", Value(L"C:\\web")}, {L"/a/b", Value(L"E:\\b")}},
         L"/a/b/c", {L"", L"/a", L"/a/b", L"/a/b/c"}, L"E:\\b\\c"},
        {"nothing found never becomes a root-relative path", {}, L"/shop/images",
         {L"", L"/shop", L"/shop/images"}, L""},
        {"a root without a value, a virtual directory with one", {{L"/shop", Value(L"D:\\shop")}},
         L"/shop/images", {L"", L"/shop", L"/shop/images"}, L"D:\\shop\\images"},
        {"the empty path: one request", {{L"", Value(L"C:\\web")}}, L"", {L""}, L"C:\\web"},
    };
    for (const MetabaseCase& c : cases) {
        std::vector<std::wstring> asked;
        std::wstring folder = L"left over";
        const bool found = WalkMetabasePath(
            c.urlPath,
            [&](const std::wstring& relative) {
                asked.push_back(relative);
                auto it = c.store.find(relative);
                return it == c.store.end() ? VirtualRootLookup() : it->second;
            },
            folder);
        EXPECT_EQ(asked, c.asked) << c.what;
        EXPECT_EQ(folder, c.folder) << c.what;
        EXPECT_EQ(found, !c.folder.empty()) << c.what;
    }
}

struct AppHostCase {
    const char* what;
    std::map<std::wstring, std::wstring> store;  // lookup path -> folder
    std::wstring urlPath;
    std::vector<std::wstring> asked;
    std::wstring folder;
};

TEST(AppHostWalk, AsksThePrefixesWithTheirLeadingSlash)
{
    const AppHostCase cases[] = {
        {"worked example", {{L"/", L"C:\\web"}, {L"/shop", L"D:\\shop"}}, L"/shop/images",
         {L"/", L"/shop", L"/shop/images"}, L"D:\\shop\\images"},
        {"the root", {{L"/", L"C:\\web"}}, L"/", {L"/"}, L"C:\\web"},
        {"the empty path", {{L"/", L"C:\\web"}}, L"", {L"/"}, L"C:\\web"},
        {"a trailing slash: two passes", {{L"/", L"C:\\web"}}, L"/shop/", {L"/", L"/shop"}, L"C:\\web\\shop"},
        {"a folder ending in / gets no backslash", {{L"/", L"C:/web/"}}, L"/x", {L"/", L"/x"}, L"C:/web/x"},
        {"an empty answer counts as none", {{L"/", L"C:\\web"}, {L"/a", L""}}, L"/a", {L"/", L"/a"},
         L"C:\\web\\a"},
        {"nothing found stays empty", {}, L"/shop/images", {L"/", L"/shop", L"/shop/images"}, L""},
        {"deeper levels append their last segment", {{L"/", L"C:\\web\\"}}, L"/a/b/c",
         {L"/", L"/a", L"/a/b", L"/a/b/c"}, L"C:\\web\\a\\b\\c"},
    };
    for (const AppHostCase& c : cases) {
        std::vector<std::wstring> asked;
        std::wstring folder = L"left over";
        const bool found = WalkAppHostPath(
            c.urlPath,
            [&](const std::wstring& lookup, std::wstring& value) {
                asked.push_back(lookup);
                auto it = c.store.find(lookup);
                if (it == c.store.end())
                    return false;
                value = it->second;
                return true;
            },
            folder);
        EXPECT_EQ(asked, c.asked) << c.what;
        EXPECT_EQ(folder, c.folder) << c.what;
        EXPECT_EQ(found, !c.folder.empty()) << c.what;
    }
}

TEST(AppHostWalk, ExceptionsOfAMatchReachTheCaller)
{
    std::wstring folder;
    EXPECT_THROW(WalkAppHostPath(
                     L"/a", [](const std::wstring&, std::wstring&) -> bool { throw std::bad_alloc(); }, folder),
                 std::bad_alloc);
}

TEST(MetaPaths, W3svcPrefixIgnoresCaseAndNeedsItsWholeLength)
{
    const struct {
        const wchar_t* path;
        bool w3svc;
    } cases[] = {
        {L"/LM/W3SVC/1", true},  {L"/lm/w3svc/1/ROOT", true}, {L"/Lm/W3sVc/", true}, {L"/LM/W3SVC", false},
        {L"/LM/W3SVCX/1", false}, {L"LM/W3SVC/1", false},     {L"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsW3svcMetaPath(c.path), c.w3svc) << WideToAnsi(c.path);
}

TEST(MetaPaths, SiteNumberStopsAtTheFirstNonDigit)
{
    const struct {
        const wchar_t* path;
        std::int32_t number;
    } cases[] = {
        {L"/LM/W3SVC/1/ROOT/", 1},        {L"/LM/W3SVC/42", 42},   {L"/LM/W3SVC/7abc", 7},
        {L"/LM/W3SVC/", 0},               {L"/LM/W3SVC/x1", 0},    {L"/LM/W3SVC/-3/ROOT", -3},
        {L"/LM/W3SVC/99999999999", INT32_MAX}, {L"/LM/W3SVC/-99999999999", INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SiteNumberFromMetaPath(c.path), c.number) << WideToAnsi(c.path);
    EXPECT_EQ(SiteRootKey(1), L"/LM/W3SVC/1/ROOT/");
    EXPECT_EQ(SiteRootKey(-1), L"/LM/W3SVC/-1/ROOT/");
}

TEST(MetaPaths, ApplicationTestIsACaseBlindPlainPrefix)
{
    const struct {
        const wchar_t* path;
        const wchar_t* application;
        bool contains;
    } cases[] = {
        {L"/application", L"/app", true}, {L"/APP/x", L"/app", true}, {L"/ap", L"/app", false},
        {L"/x", L"/", true},              {L"/other", L"/app", false}, {L"/", L"", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplicationContains(c.path, c.application), c.contains)
            << WideToAnsi(c.path) << " " << WideToAnsi(c.application);
    EXPECT_EQ(EffectiveApplicationPath(L"/"), L"");
    EXPECT_EQ(EffectiveApplicationPath(L"/app"), L"/app");
}

}
