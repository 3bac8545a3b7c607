// Message formatting.
#include "Framework/Format.h"

#include <gtest/gtest.h>

using namespace Framework;

namespace {

TEST(Format, FormatTextSubstitutesInOrder)
{
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

TEST(Format, HexTextHasLowerCaseDigitsAndAtLeastTheMinimumCount)
{
    const struct {
        unsigned long long value;
        unsigned minDigits;
        const wchar_t* text;
    } cases[] = {
        {0, 1, L"0"},
        {0, 4, L"0000"},
        {0xAB, 1, L"ab"},
        {0x409, 4, L"0409"},
        {0x12345, 4, L"12345"},
        {0x80004005u, 1, L"80004005"},
        {0xFFFFFFFFFFFFFFFFull, 1, L"ffffffffffffffff"},
        {0x1234, 0, L"1234"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HexText(c.value, c.minDigits), c.text) << c.value << " " << c.minDigits;
}

}
