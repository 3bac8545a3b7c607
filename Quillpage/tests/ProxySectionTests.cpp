#include "ProxySection.h"

#include <gtest/gtest.h>

#include <optional>
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
    EXPECT_EQ(ProxySection(ProxySettings()).text, "<Orvane>\r\n</Orvane>");
}

// The closing tag stands after the inner and the kept lines.
TEST(ProxySectionTest, SaysWhereItsClosingTagStands)
{
    const NewProxySection section = ProxySection(Settings(90000, 30000, 30000, 0), "# kept\r\n");
    EXPECT_EQ(section.text.substr(section.closingTagAt), "</Orvane>");
    EXPECT_EQ(section.text.substr(0, section.closingTagAt),
              "<Orvane>\r\nProxyConnectTimeout 90\r\nProxySuppressErrors Off\n# kept\r\n");
}

struct RewriteCase {
    const char* name;
    std::string text;
    std::optional<std::string> expected;  // with the section of Settings(90000, 30000, 30000, 0); none: refused
};

const std::string kInner = "ProxyConnectTimeout 90\r\nProxySuppressErrors Off\n";
const std::string kNew = "<Orvane>\r\n" + kInner + "</Orvane>";

// The new section with lines of the old sections kept inside it.
std::string NewWith(const std::string& kept)
{
    return "<Orvane>\r\n" + kInner + kept + "</Orvane>";
}

class ReplaceProxySectionTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(ReplaceProxySectionTest, CutsTheSectionsTheParserReadsAndAppendsTheNewOne)
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
    // The blanks in front of the opening tag and the closing tag's line end stay.
    RewriteCase{"BlanksAroundTags", "  <Orvane>\t\nProxySendTimeout 5\n\t</Orvane>  \nB", "    \nB\r\n" + kNew},
    RewriteCase{"TagsInAnyLetterCaseAndWithBlanksInside",
                "< orVANE >\r\nProxySendTimeout 5\r\n< /ORVANE\t>\r\nB", "\r\nB\r\n" + kNew},
    // A comment after a tag is kept inside the new section.
    RewriteCase{"OpeningTagWithAComment",
                "A\r\n<Orvane>  # backend\r\nProxySendTimeout 5\r\n</Orvane>\r\n", "A\r\n\r\n\r\n" + NewWith("# backend\r\n")},
    RewriteCase{"ClosingTagWithAComment",
                "<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>  # end # here\r\nB", "\r\nB\r\n" + NewWith("# end # here\r\n")},
    // Lines of a section that are no settings stay in it: a rule there is refused before and after.
    RewriteCase{"RuleAndCommentInsideTheSection",
                "<Orvane>\r\n# slow backend\r\nRewriteRule a b\r\n\r\nProxySendTimeout 5\r\n</Orvane>\r\n",
                "\r\n\r\n" + NewWith("# slow backend\r\nRewriteRule a b\r\n")},
    RewriteCase{"EverySection",
                "<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\nA\r\n<Orvane>\r\nProxyConnectTimeout 7\r\n</Orvane>",
                "\r\nA\r\n\r\n" + kNew},
    RewriteCase{"ClosingBeforeOpening", "</Orvane>\r\nA\r\n", "</Orvane>\r\nA\r\n\r\n" + kNew},
    RewriteCase{"ClosingBeforeASection",
                "</Orvane>\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n",
                "</Orvane>\r\n\r\n\r\n" + kNew},
    // What the parser does not take for a tag stays: inside a comment, after other text, in a line
    // that a final backslash joins to a comment, after a lone carriage return.
    RewriteCase{"TagsInsideComments",
                "# <Orvane> was here\r\nA\r\n#</Orvane>\r\n",
                "# <Orvane> was here\r\nA\r\n#</Orvane>\r\n\r\n" + kNew},
    RewriteCase{"TagAfterOtherText", "x <Orvane>\r\nA\r\n</Orvane>\r\n", "x <Orvane>\r\nA\r\n</Orvane>\r\n\r\n" + kNew},
    RewriteCase{"TagJoinedToAComment",
                "# note \\\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n",
                "# note \\\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n\r\n" + kNew},
    RewriteCase{"LoneCarriageReturnsAreNoLineEnds",
                "a\r\x80\xff\n\r\r\n<Orvane>\rX\r</Orvane>\r\xe9",
                "a\r\x80\xff\n\r\r\n<Orvane>\rX\r</Orvane>\r\xe9\r\n" + kNew},
    // A tag that continuation joins from two physical lines is one.
    RewriteCase{"TagOverTwoPhysicalLines", "<Orv\\\nane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n", "\r\n\r\n" + kNew},
    // A section that is never closed runs to the end of the text.
    RewriteCase{"OpeningWithoutClosing",
                "A\r\n<Orvane>\r\nProxySendTimeout 5\r\nB\r\n",
                "A\r\n\r\n" + NewWith("B\r\n")},
    RewriteCase{"OpeningWithoutClosingAtTheEnd", "A\n<Orvane>", "A\n\r\n" + kNew},
    // Where the end is not read at the top, the section goes to the beginning: after a Files section
    // left open (which holds the section above), after a final backslash, behind a NUL byte (the
    // parser reads a file up to its first NUL byte; the bytes after it stay as they are).
    RewriteCase{"FilesSectionLeftOpenAbove",
                "<Files a.txt>\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n",
                kNew + "\r\n<Files a.txt>\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n"},
    RewriteCase{"FinalBackslash", "RewriteEngine On\\", kNew + "\r\nRewriteEngine On\\"},
    RewriteCase{"NulByte",
                "a\0b\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>"s,
                kNew + "\r\na\0b\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>"s},
    RewriteCase{"SectionInFrontOfANulByte",
                "<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\nb\0<Orvane>"s, kNew + "\r\n\r\nb\0<Orvane>"s},
    // A section that holds a Files section stays where it is, without its settings; one opened
    // there and never closed would take the new closing tag at the end.
    RewriteCase{"FilesSectionOpenedInsideTheSection",
                "<Orvane>\r\n<Files a>\r\nProxySendTimeout 5\r\n</Orvane>\r\n",
                kNew + "\r\n<Orvane>\r\n<Files a>\r\nProxySendTimeout 5\r\n</Orvane>\r\n"},
    // Where no place keeps the reading, nothing is written: the whole language reads the section
    // inside a virtual host or a Directory section as theirs.
    RewriteCase{"SectionInsideAVirtualHost",
                "<VirtualHost *>\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n</VirtualHost>\r\n", std::nullopt},
    RewriteCase{"SectionInsideADirectorySection",
                "<Directory C:/a>\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n</Directory>\r\n", std::nullopt}),
    [](const ::testing::TestParamInfo<RewriteCase>& info) { return std::string(info.param.name); });

TEST(ReplaceProxySectionTest, EachFurtherRewriteAddsOneLineEnd)
{
    const std::optional<std::string> once = ReplaceProxySection("A\r\n<Orvane>\r\n</Orvane>\r\nB", ProxySettings());
    ASSERT_TRUE(once);
    EXPECT_EQ(*once, "A\r\n\r\nB\r\n<Orvane>\r\n</Orvane>");
    const std::optional<std::string> twice = ReplaceProxySection(*once, ProxySettings());
    ASSERT_TRUE(twice);
    EXPECT_EQ(*twice, "A\r\n\r\nB\r\n\r\n<Orvane>\r\n</Orvane>");
}

// Kept lines stay once: a second rewrite keeps them inside the section without adding to them.
TEST(ReplaceProxySectionTest, KeptLinesAreKeptOnce)
{
    const std::string text = "<Orvane> # a\r\n# b\r\nProxySendTimeout 5\r\n</Orvane> # c\r\n";
    const std::optional<std::string> once = ReplaceProxySection(text, Settings(60000, 30000, 30000, 1));
    ASSERT_TRUE(once);
    EXPECT_EQ(*once, "\r\n\r\n<Orvane>\r\n# a\r\n# b\r\n# c\r\n</Orvane>");
    const std::optional<std::string> twice = ReplaceProxySection(*once, Settings(60000, 30000, 30000, 1));
    ASSERT_TRUE(twice);
    EXPECT_EQ(*twice, "\r\n\r\n\r\n<Orvane>\r\n# a\r\n# b\r\n# c\r\n</Orvane>");
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
