#include "ProxySection.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Orvane::Quillon;

ProxySettings Settings(std::int32_t connect, std::int32_t receive, std::int32_t send, std::int32_t suppress)
{
    ProxySettings settings;
    settings.connectTimeout = connect;
    settings.receiveTimeout = receive;
    settings.sendTimeout = send;
    settings.suppressErrors = suppress;
    return settings;
}

struct FormatCase {
    ProxySettings settings;
    const char* inner;
};

class FormatProxySettingsTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatProxySettingsTest, WritesOnlyValuesThatDifferFromTheDefaults)
{
    EXPECT_EQ(FormatProxySettings(GetParam().settings), GetParam().inner);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatProxySettingsTest, ::testing::Values(
    FormatCase{Settings(60000, 30000, 30000, 1), ""},
    FormatCase{Settings(90000, 30000, 30000, 0), "ProxyConnectTimeout 90\r\nProxySuppressErrors Off\n"},
    FormatCase{Settings(1999, 45000, 0, 1), "ProxyConnectTimeout 1\r\nProxyReceiveTimeout 45\r\nProxySendTimeout 0\r\n"},
    FormatCase{Settings(60000, 30000, 30000, 7), "ProxySuppressErrors On\n"},
    // Milliseconds are divided as unsigned values.
    FormatCase{Settings(-1000, 30000, 30000, 1), "ProxyConnectTimeout 4294966\r\n"},
    FormatCase{Settings(2147483000, 30000, 30001, 1), "ProxyConnectTimeout 2147483\r\nProxySendTimeout 30\r\n"}));

TEST(ProxySectionTest, DefaultsGiveAnEmptySection)
{
    EXPECT_EQ(ProxySection(ProxySettings()), "<Orvane>\r\n</Orvane>");
}

struct RewriteCase {
    const char* name;
    std::string text;
    std::string expected;  // with the section of Settings(90000, 30000, 30000, 0) at its end
};

const std::string kNew = "<Orvane>\r\nProxyConnectTimeout 90\r\nProxySuppressErrors Off\n</Orvane>";

class ReplaceProxySectionTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(ReplaceProxySectionTest, CutsTheOldSectionAndAppendsTheNewOne)
{
    EXPECT_EQ(ReplaceProxySection(GetParam().text, Settings(90000, 30000, 30000, 0)), GetParam().expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(Texts, ReplaceProxySectionTest, ::testing::Values(
    RewriteCase{"Empty", "", kNew},
    RewriteCase{"NoSection", "RewriteEngine On\r\n", "RewriteEngine On\r\n\r\n" + kNew},
    RewriteCase{"NoFinalLineEnd", "RewriteEngine On", "RewriteEngine On\r\n" + kNew},
    RewriteCase{"SectionInTheMiddle",
                "A\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\nB\r\n",
                "A\r\n\r\nB\r\n\r\n" + kNew},
    RewriteCase{"SectionAtTheEnd", "A\r\n<Orvane>\r\n</Orvane>", "A\r\n\r\n" + kNew},
    RewriteCase{"AnyLetterCase", "<orVANE>\nX\n</ORVANE>\nB", "\nB\r\n" + kNew},
    // Only the tags and what lies between them go; the blanks around them stay.
    RewriteCase{"BlanksAroundTags", "  <Orvane>\t\nX\n\t</Orvane>  \nB", "    \nB\r\n" + kNew},
    RewriteCase{"ClosingBeforeOpening", "</Orvane>\r\nA\r\n", "</Orvane>\r\nA\r\n\r\n" + kNew},
    RewriteCase{"ClosingBeforeASection",
                "</Orvane>\r\n<Orvane>\r\nX\r\n</Orvane>\r\n",
                "</Orvane>\r\n\r\n\r\n" + kNew},
    RewriteCase{"TagsInsideComments",
                "# <Orvane> was here\r\nA\r\n#</Orvane>\r\n",
                "# <Orvane> was here\r\nA\r\n#</Orvane>\r\n\r\n" + kNew},
    RewriteCase{"TagAfterOtherText", "x <Orvane>\r\nA\r\n</Orvane>\r\n", "x <Orvane>\r\nA\r\n</Orvane>\r\n\r\n" + kNew},
    RewriteCase{"OpeningWithoutClosing",
                "A\r\n<Orvane>\r\nProxySendTimeout 5\r\nB\r\n",
                "A\r\nProxySendTimeout 5\r\nB\r\n\r\n" + kNew},
    RewriteCase{"OpeningWithoutClosingAtTheEnd", "A\n<Orvane>", "A\n\r\n" + kNew},
    RewriteCase{"OnlyTheFirstSection",
                "<Orvane>\r\n</Orvane>\r\n<Orvane>\r\nX\r\n</Orvane>",
                "\r\n<Orvane>\r\nX\r\n</Orvane>\r\n" + kNew},
    RewriteCase{"OtherBytesKept",
                "a\0b\r\x80\xff\n\r\r\n<Orvane>\rX\r</Orvane>\r\xe9"s,
                "a\0b\r\x80\xff\n\r\r\n\r\xe9\r\n"s + kNew}),
    [](const ::testing::TestParamInfo<RewriteCase>& info) { return std::string(info.param.name); });

TEST(ReplaceProxySectionTest, EachFurtherRewriteAddsOneLineEnd)
{
    const std::string once = ReplaceProxySection("A\r\n<Orvane>\r\n</Orvane>\r\nB", ProxySettings());
    EXPECT_EQ(once, "A\r\n\r\nB\r\n<Orvane>\r\n</Orvane>");
    const std::string twice = ReplaceProxySection(once, ProxySettings());
    EXPECT_EQ(twice, "A\r\n\r\nB\r\n\r\n<Orvane>\r\n</Orvane>");
}

struct TimeoutCase {
    const wchar_t* text;
    TimeoutEntry result;
    std::int32_t milliseconds;  // 12345 stands for "unchanged"
};

class ParseTimeoutTest : public ::testing::TestWithParam<TimeoutCase> {};

TEST_P(ParseTimeoutTest, ReadsLeadingDigitsAndRefusesWhatDoesNotFit)
{
    std::int32_t milliseconds = 12345;
    EXPECT_EQ(ParseTimeoutSeconds(GetParam().text, milliseconds), GetParam().result);
    EXPECT_EQ(milliseconds, GetParam().milliseconds);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseTimeoutTest, ::testing::Values(
    TimeoutCase{L"90", TimeoutEntry::Accepted, 90000},
    TimeoutCase{L"", TimeoutEntry::Accepted, 0},
    TimeoutCase{L"abc", TimeoutEntry::Accepted, 0},
    TimeoutCase{L"  42x7", TimeoutEntry::Accepted, 42000},
    TimeoutCase{L"+5", TimeoutEntry::Accepted, 5000},
    TimeoutCase{L"-0", TimeoutEntry::Accepted, 0},
    TimeoutCase{L"2147483", TimeoutEntry::Accepted, 2147483000},
    TimeoutCase{L"2147484", TimeoutEntry::OutOfRange, 12345},
    TimeoutCase{L"99999999999999999999999", TimeoutEntry::OutOfRange, 12345},
    TimeoutCase{L"-3", TimeoutEntry::OutOfRange, 12345}));

TEST(TimeoutSecondsTextTest, ShowsUnsignedWholeSeconds)
{
    EXPECT_EQ(TimeoutSecondsText(60000), L"60");
    EXPECT_EQ(TimeoutSecondsText(1999), L"1");
    EXPECT_EQ(TimeoutSecondsText(-1000), L"4294966");
}

}
