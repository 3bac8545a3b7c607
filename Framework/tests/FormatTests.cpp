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

}
