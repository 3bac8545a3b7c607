// Message formatting, conversions and resource strings.
#include "Framework/Text.h"

#include <gtest/gtest.h>

using namespace Framework;

namespace {

TEST(Text, FormatTextSubstitutesInOrder)
{
    struct Case {
        const wchar_t* format;
        std::wstring expected;
    };
    const std::wstring longPath(5000, L'x');
    EXPECT_EQ(FormatText(L"Save changes to %s ?", {L"a.conf"}), L"Save changes to a.conf ?");
    EXPECT_EQ(FormatText(L"Row: %i", {12}), L"Row: 12");
    EXPECT_EQ(FormatText(L"%s file %s\nfailed with error %d:\n%s", {L"Saving", longPath, 5, L"Denied."}),
              L"Saving file " + longPath + L"\nfailed with error 5:\nDenied.");
    EXPECT_EQ(FormatText(L"100%% %s", {L"done"}), L"100% done");
    // Missing arguments leave nothing behind; unknown conversions stay as written.
    EXPECT_EQ(FormatText(L"%s and %s", {L"one"}), L"one and ");
    EXPECT_EQ(FormatText(L"%x", {1}), L"%x");
}

TEST(Text, CodePageRoundTrip)
{
    const std::string ansi = "caf\xE9 #1";
    std::wstring wide = AnsiToWide(ansi, 1252);
    EXPECT_EQ(wide, L"caf\u00E9 #1");
    EXPECT_EQ(WideToAnsi(wide, 1252), ansi);
    EXPECT_EQ(AnsiToWide(""), L"");
}

TEST(Text, ResourceStringsAndErrorTexts)
{
    EXPECT_EQ(LoadResourceString(200), L"Row: 99999");
    EXPECT_EQ(LoadResourceString(201), L"first part\nsecond part");
    EXPECT_EQ(LoadResourceString(9999), L"");
    std::wstring text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_FALSE(ModuleFileName().empty());
}

}
