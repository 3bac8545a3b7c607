#include "RewriteConfig/TextFunctions.h"
#include "RewriteConfig/Platform.h"

#include <atomic>
#include <climits>
#include <thread>
#include <vector>

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

TEST(TrimDirectoryPath, WidePathEndsWithASeparatorAndEmptyStaysEmpty)
{
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"C:\\www", L"C:\\www\\"}, {L"C:\\www\\", L"C:\\www\\"}, {L"/a/", L"/a/"},
        {L" \tD:\\site \r\n", L"D:\\site\\"}, {L"  /app/  ", L"/app/"}, {L"", L""}, {L" \t ", L""},
    };
    for (const auto& c : cases) {
        std::wstring text = c.in;
        EXPECT_EQ(TrimDirectoryPath(text), c.out) << "[" << Platform::WideToAnsi(c.in) << "]";
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

TEST(IntToWideString, WritesSignedDecimal)
{
    const struct {
        std::int64_t value;
        const wchar_t* text;
    } cases[] = {{0, L"0"}, {42, L"42"}, {-7, L"-7"}, {INT32_MAX, L"2147483647"}, {INT32_MIN, L"-2147483648"}};
    for (const auto& c : cases)
        EXPECT_EQ(IntToWideString(static_cast<std::int32_t>(c.value)), c.text) << c.value;
    EXPECT_EQ(Int64ToWideString(INT64_MAX), L"9223372036854775807");
    EXPECT_EQ(Int64ToWideString(INT64_MIN), L"-9223372036854775808");
    EXPECT_EQ(Int64ToWideString(5000000000LL), L"5000000000");
}

std::vector<unsigned char> Utf16Bytes(const std::u16string& units, size_t extraBytes = 0)
{
    std::vector<unsigned char> bytes(units.size() * 2 + extraBytes, 0xAB);
    for (size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
    }
    return bytes;
}

TEST(TextFromUtf16Data, TextEndsAtTheTerminatorOrTheDataEnd)
{
    struct Case {
        const char* what;
        std::vector<unsigned char> data;
        std::wstring text;
    } cases[] = {
        {"terminated", Utf16Bytes(std::u16string(u"D:\\www\0", 7)), L"D:\\www"},
        {"terminated with more after", Utf16Bytes(std::u16string(u"ab\0junk", 7)), L"ab"},
        {"no terminator: the data's end", Utf16Bytes(u"D:\\www"), L"D:\\www"},
        {"odd trailing byte", Utf16Bytes(u"ab", 1), L"ab"},
        {"one byte only", Utf16Bytes(u"", 1), L""},
        {"no data", {}, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, TextFromUtf16Data(c.data.empty() ? nullptr : c.data.data(), c.data.size())) << c.what;
    // A length shorter than the buffer is the end, even without a NUL inside it.
    const std::vector<unsigned char> longer = Utf16Bytes(u"C:\\Tools\\");
    EXPECT_EQ(TextFromUtf16Data(longer.data(), 4), L"C:");
}

// Readers never see a torn value while another thread replaces it.
TEST(LogBaseDirectory, ReadersSeeWholeValuesWhileAWriterReplacesThem)
{
    const std::wstring saved = LogBaseDirectory();
    const std::wstring first(300, L'a'), second(700, L'b');
    SetLogBaseDirectory(first);
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0};
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r)
        readers.emplace_back([&] {
            while (!stop) {
                const std::wstring seen = LogBaseDirectory();
                if (seen != first && seen != second)
                    ++torn;
            }
        });
    for (int i = 0; i < 20000; ++i)
        SetLogBaseDirectory(i % 2 ? first : second);
    stop = true;
    for (auto& reader : readers)
        reader.join();
    SetLogBaseDirectory(saved);
    EXPECT_EQ(torn.load(), 0);
}

TEST(PathHasColon, FindsAColonAnywhere)
{
    EXPECT_TRUE(PathHasColon(L"C:\\x"));
    EXPECT_TRUE(PathHasColon(L"a:"));
    EXPECT_FALSE(PathHasColon(L"logs\\rewrite.log"));
    EXPECT_FALSE(PathHasColon(L""));
}
