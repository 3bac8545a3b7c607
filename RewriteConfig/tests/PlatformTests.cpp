#include "RewriteConfig/Platform.h"

#include <gtest/gtest.h>

using namespace Orvane::Quillon::Platform;

TEST(Platform, AnsiRoundTripKeepsCodePageText)
{
    const std::string text = "caf\xE9 \x80 x";
    const std::wstring wide = AnsiToWide(text);
    ASSERT_EQ(wide.size(), text.size());
    EXPECT_EQ(wide[3], L'\x00E9');
    EXPECT_EQ(wide[5], L'\x20AC');
    EXPECT_EQ(WideToAnsi(wide), text);
}

TEST(Platform, CompareNoCaseOrdersAsTheRuntime)
{
    EXPECT_EQ(CompareNoCase("ABC", "abc"), 0);
    EXPECT_LT(CompareNoCase("a", "B"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
    EXPECT_LT(CompareNoCase("", "a"), 0);
}

TEST(Platform, MissingPathCannotBeQueried)
{
    FileAttributes attributes;
    EXPECT_FALSE(QueryFileAttributes("no such file here.xyz", attributes));
    EXPECT_FALSE(QueryFileAttributes("", attributes));
}
