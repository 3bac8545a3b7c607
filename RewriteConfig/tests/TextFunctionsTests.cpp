#include "RewriteConfig/TextFunctions.h"

#include <climits>

#include <gtest/gtest.h>

using namespace Orvane::Quillon;

TEST(TrimUnquote, RemovesBlanksAndOneQuoteAtEachEnd)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {" \"C:/x y\" ", "C:/x y"},
        {"\"", ""},
        {"\"\"\"a\"\"\"", "\"\"a\"\""},
        {"\t\"a\r\n", "a"},
        {"a\"", "a"},
        {"\" inner \"", " inner "},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(TrimUnquote(text), c.out) << c.in;
        EXPECT_EQ(text, c.out) << "changed in place: " << c.in;
    }
    std::wstring wide = L" \"C:\\Logs\\r.log\" ";
    EXPECT_EQ(TrimUnquote(wide), L"C:\\Logs\\r.log");
    std::wstring lone = L"\"";
    EXPECT_EQ(TrimUnquote(lone), L"");
}

TEST(TrimDirectoryPath, EndsThePathWithASeparator)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"C:\\www", "C:\\www\\"}, {"/a/", "/a/"}, {"x\\", "x\\"}, {"", "\\"}, {"  /app  ", "/app\\"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(TrimDirectoryPath(text), c.out) << c.in;
    }
}

TEST(WildcardToRegex, EscapesInOrderAndKeepsInsertedMeaning)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"*.php", "[^/]*\\.php"},
        {"a?c", "a.?c"},
        {"a\\b", "a\\\\b"},
        {"]}|", "]}|"},
        {"[{()+^$", "\\[\\{\\(\\)\\+\\^\\$"},
        {"?.*", ".?\\.[^/]*"},
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(WildcardToRegex(text), c.out) << c.in;
    }
}

TEST(IntToString, WritesSignedDecimal)
{
    EXPECT_EQ(IntToString(0), "0");
    EXPECT_EQ(IntToString(42), "42");
    EXPECT_EQ(IntToString(-7), "-7");
    EXPECT_EQ(IntToString(INT32_MAX), "2147483647");
    EXPECT_EQ(IntToString(INT32_MIN), "-2147483648");
}

TEST(PathHasColon, FindsAColonAnywhere)
{
    EXPECT_TRUE(PathHasColon(L"C:\\x"));
    EXPECT_TRUE(PathHasColon(L"a:"));
    EXPECT_FALSE(PathHasColon(L"logs\\rewrite.log"));
    EXPECT_FALSE(PathHasColon(L""));
}
