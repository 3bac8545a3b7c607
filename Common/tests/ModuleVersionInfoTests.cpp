// The version reader on this test program's own version block, on a module without one, and
// the version splitter.
#include "Common/ModuleVersionInfo.h"
#include "Framework/Handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ModuleVersionInfo, SplitVersionTable)
{
    struct Case {
        const wchar_t* text;
        bool ok;
        WORD parts[4];
    };
    const Case cases[] = {
        {L"3, 0, 0, 25", true, {3, 0, 0, 25}},
        {L"1.2.3.4", true, {1, 2, 3, 4}},
        {L"1.2.3", false, {1, 2, 3, 0}},
        {L"1..2,,3.,4", true, {1, 2, 3, 4}},
        {L"5.6.7.8.9", true, {5, 6, 7, 8}},
        {L"", false, {0, 0, 0, 0}},
        {L"x.2.y.4", true, {0, 2, 0, 4}},
    };
    for (const Case& c : cases) {
        std::wstring text(c.text);
        WORD a = 9, b = 9, d = 9, e = 9;
        EXPECT_EQ(ModuleVersionInfo::SplitVersion(&text[0], a, b, d, e), c.ok) << std::string(text.begin(), text.end());
        EXPECT_EQ(a, c.parts[0]);
        EXPECT_EQ(b, c.parts[1]);
        EXPECT_EQ(d, c.parts[2]);
        EXPECT_EQ(e, c.parts[3]);
    }
}

TEST(ModuleVersionInfo, ReadsOwnBlockWithoutTranslationTable)
{
    ModuleVersionInfo info;
    ASSERT_TRUE(info.Load(nullptr));
    EXPECT_EQ(info.FixedInfo().dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(info.TranslationLanguage(), 0);
    EXPECT_EQ(info.TranslationCodePage(), 1252);
    WORD a = 0, b = 0, c = 0, d = 0;
    ASSERT_TRUE(info.GetProductVersion(a, b, c, d));
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 6);
    EXPECT_EQ(c, 5);
    EXPECT_EQ(d, 4);

    wchar_t small[11] = {};
    ASSERT_TRUE(info.QueryValue(L"Comments", small, 11));
    EXPECT_STREQ(small, L"a comment ");
    EXPECT_FALSE(info.QueryValue(L"NoSuchValue", small, 11));
    // A second load reads again from scratch.
    ASSERT_TRUE(info.Load(nullptr));
    EXPECT_TRUE(info.GetProductVersion(a, b, c, d));
}

TEST(ModuleVersionInfo, ModuleWithoutVersionResource)
{
    Framework::ScopedLibrary module(::LoadLibraryW(L"CommonTestNoVersion.dll"));
    ASSERT_TRUE(module);
    ModuleVersionInfo info;
    EXPECT_FALSE(info.Load(module.Get()));
    wchar_t text[8] = {};
    EXPECT_FALSE(info.QueryValue(L"ProductVersion", text, 8));
    WORD a = 1, b = 1, c = 1, d = 1;
    EXPECT_FALSE(info.GetProductVersion(a, b, c, d));
    EXPECT_EQ(a + b + c + d, 0);
}

}
