#include <string>

#include <gtest/gtest.h>

#include "OldSyntaxConverter.h"
#include "TestData.h"

namespace {

using QuillshiftTest::CrLfLines;
using QuillshiftTest::Header;

struct ConvertCase {
    const char* name;
    std::string old;       // the old file
    std::string expected;  // the converted file behind the standard header lines
};

class ConvertTextTest : public ::testing::TestWithParam<ConvertCase> {};

TEST_P(ConvertTextTest, WritesNewLanguage)
{
    EXPECT_EQ(ConvertText(GetParam().old), Header() + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, ConvertTextTest, ::testing::Values(
    ConvertCase{"EmptyFile", "", ""},
    ConvertCase{"BlankLineLosesBlanks", CrLfLines({" \t ", "RewriteRule /a /b"}),
                CrLfLines({"", "RewriteRule ^/a$ /b"})},
    ConvertCase{"Comments", CrLfLines({"#text", "# text", "   #x # y"}),
                CrLfLines({"# text", "#  text", "# x # y"})},
    ConvertCase{"UnsupportedDirectives", CrLfLines({"[Quillon]", "  CacheClockRate 300", "enablerewrite on"}),
                CrLfLines({"# unsupported directive: [Quillon]", "# unsupported directive:   CacheClockRate 300",
                           "# unsupported directive: enablerewrite on"})},
    ConvertCase{"RuleFlagsAndComment", CrLfLines({"RewriteRule /a /b [I,L] #c"}),
                CrLfLines({"RewriteRule ^/a$ /b [NC,L]#c"})},
    ConvertCase{"KeywordInLowerCaseArgumentsKeepCase", CrLfLines({"  rewriterule /A /B"}),
                CrLfLines({"RewriteRule ^/A$ /B"})},
    ConvertCase{"UnknownLineNumberedFromZero", "\r\n\r\nFoo bar\r\n",
                CrLfLines({"# # Line 0: (Unknown expression)\tFoo bar"})},
    ConvertCase{"EighthLineIsSeven", CrLfLines({"#", "#", "#", "#", "#", "#", "#", "Foo"}),
                CrLfLines({"# ", "# ", "# ", "# ", "# ", "# ", "# ", "# # Line 7: (Unknown expression)\tFoo"})},
    ConvertCase{"LfLineEndsAreLines", "RewriteRule /a /b\n\nFoo\n",
                CrLfLines({"RewriteRule ^/a$ /b", "", "# # Line 2: (Unknown expression)\tFoo"})},
    ConvertCase{"ConditionsAreWrittenWithTheirRule",
                CrLfLines({"RewriteCond Host: ^www", "# c", "", "RewriteRule /a /b"}),
                CrLfLines({"#  c", "", "RewriteCond %{HTTP:Host} ^www$", "RewriteRule ^/a$ /b"})},
    ConvertCase{"FailedConditionStartsNextOneFresh",
                CrLfLines({"RewriteCond URL /x [I] #c1", "RewriteCond URL /y", "RewriteRule /a /b"}),
                CrLfLines({"# # Line 0: (Unknown expression)\tRewriteCond URL /x [I] #c1",
                           "RewriteCond %{REQUEST_URI} ^/y$", "RewriteRule ^/a$ /b"})},
    ConvertCase{"FailedRuleLeavesConditionsToNextRule",
                CrLfLines({"RewriteCond URL /x", "RewriteRule ( /b [L]", "RewriteRule /c /d"}),
                CrLfLines({"# # Line 1: (Unknown expression)\tRewriteRule ( /b [L]",
                           "RewriteCond %{REQUEST_URI} ^/x$", "RewriteRule ^/c$ /d"})},
    ConvertCase{"OneWordConditionSplitsIntoTwo", CrLfLines({"RewriteCond URL", "RewriteRule /a /b"}),
                CrLfLines({"RewriteCond UR ^L$", "RewriteRule ^/a$ /b"})},
    ConvertCase{"ConditionFlagsBeforeComment",
                CrLfLines({"RewriteCond URL /x [O] #c", "RewriteCond Host: www [NC,OR]", "RewriteRule /a /b"}),
                CrLfLines({"RewriteCond %{REQUEST_URI} ^/x$ [O]#c", "RewriteCond %{HTTP:Host} ^www$ [NC,OR]",
                           "RewriteRule ^/a$ /b"})},
    ConvertCase{"ConditionKinds",
                CrLfLines({"RewriteCond URL !^/x", "RewriteCond %REQUEST_FILENAME -f",
                           "RewriteCond %REQUEST_FILENAME !-d [OR]", "RewriteCond method =POST",
                           "RewriteRule /a /b"}),
                CrLfLines({"RewriteCond %{REQUEST_URI} !^/x$", "RewriteCond %{REQUEST_FILENAME} -f",
                           "RewriteCond %{REQUEST_FILENAME} !-d [OR]", "RewriteCond %{REQUEST_METHOD} =POST",
                           "RewriteRule ^/a$ /b"})},
    ConvertCase{"BackReferencesRenumbered",
                CrLfLines({"RewriteCond URL (a)", "RewriteRule /(b)/(c) /x/$1/$2/$3"}),
                CrLfLines({"RewriteCond %{REQUEST_URI} ^(a)$", "RewriteRule ^/(b)/(c)$ /x/%1/$1/$2"})},
    ConvertCase{"Header",
                CrLfLines({"RewriteCond URL /x", "RewriteHeader X-Forwarded ^(.*)$ $1x [I] #h"}),
                CrLfLines({"RewriteCond %{REQUEST_URI} ^/x$", "RewriteHeader X-Forwarded ^(.*)$ $1x [NC]#h"})},
    ConvertCase{"Proxy", CrLfLines({"RewriteProxy /a http://b [D,C,F,H,A,I,U,O,X]"}),
                CrLfLines({"RewriteProxy ^/a$ http://b [NC,U,O,D,CR,FR,H,AU]"})},
    ConvertCase{"RepeatLimitTooLargeIsKeptAsComment", CrLfLines({"RepeatLimit 99999999999"}),
                CrLfLines({"# # Line 0: (Unknown expression)\tRepeatLimit 99999999999"})}),
    [](const ::testing::TestParamInfo<ConvertCase>& info) { return std::string(info.param.name); });

// Conditions that no converted rule takes stay in the output as comments, where they were read.
INSTANTIATE_TEST_SUITE_P(LostConditions, ConvertTextTest, ::testing::Values(
    ConvertCase{"NoRuleAfter", CrLfLines({"RewriteRule /a /b", "RewriteCond URL /x", "# after"}),
                CrLfLines({"RewriteRule ^/a$ /b", "# # Line 1: (Condition without rule)\tRewriteCond URL /x",
                           "#  after"})},
    ConvertCase{"FailedRuleThenNoRule", CrLfLines({"RewriteCond URL /x #c", "RewriteRule ( /b"}),
                CrLfLines({"# # Line 0: (Condition without rule)\tRewriteCond URL /x #c",
                           "# # Line 1: (Unknown expression)\tRewriteRule ( /b"})},
    ConvertCase{"FailedHeader",
                CrLfLines({"RewriteCond URL /x", "#between", "RewriteCond URL /y", "RewriteHeader X-H ( v",
                           "RewriteRule /c /d"}),
                CrLfLines({"# # Line 0: (Condition without rule)\tRewriteCond URL /x", "# between",
                           "# # Line 2: (Condition without rule)\tRewriteCond URL /y",
                           "# # Line 3: (Unknown expression)\tRewriteHeader X-H ( v", "RewriteRule ^/c$ /d"})},
    ConvertCase{"FailedProxy", CrLfLines({"RewriteCond URL /x", "RewriteProxy ( http://b", "RewriteRule /c /d"}),
                CrLfLines({"# # Line 0: (Condition without rule)\tRewriteCond URL /x",
                           "# # Line 1: (Unknown expression)\tRewriteProxy ( http://b", "RewriteRule ^/c$ /d"})}),
    [](const ::testing::TestParamInfo<ConvertCase>& info) { return std::string(info.param.name); });

struct HeaderCase {
    const char* name;
    std::string old;
    std::string expected;  // the whole converted file
};

class HeaderLinesTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderLinesTest, WritesSettings)
{
    EXPECT_EQ(ConvertText(GetParam().old), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, HeaderLinesTest, ::testing::Values(
    HeaderCase{"RepeatLimitLastWins", CrLfLines({"RepeatLimit 7", "repeatlimit 50 # x"}),
               CrLfLines({"RewriteEngine On", "RewriteCompatibility2 On", "RepeatLimit 50", "RewriteBase "})},
    HeaderCase{"RFStyleNewStaysAfterOld", CrLfLines({"RFStyle New", "RFStyle Old"}),
               CrLfLines({"RewriteEngine On", "RewriteCompatibility2 On", "RepeatLimit 200", "RewriteBase ",
                          "RedirectHanler External"})},
    HeaderCase{"RFStyleOld", CrLfLines({"RFStyle Old"}),
               CrLfLines({"RewriteEngine On", "RewriteCompatibility2 On", "RepeatLimit 200", "RewriteBase "})},
    HeaderCase{"EqualUriMatchGivesRewriteBase",
               CrLfLines({"RFStyle new", "UriMatchPrefix /v", "UriMatchSufix /v", "RewriteRule /a b"}),
               CrLfLines({"RewriteEngine On", "RewriteCompatibility2 On", "RepeatLimit 200", "RewriteBase ",
                          "RedirectHanler External", "RewriteBase /v", "RewriteRule ^/a$ b"})},
    HeaderCase{"PrefixOnlyGoesIntoRules",
               CrLfLines({"UriMatchPrefix /base", "RewriteRule /a /b", "RewriteRule .* /c",
                          "RewriteHeader X ^a$ b"}),
               CrLfLines({"RewriteEngine On", "RewriteCompatibility2 On", "RepeatLimit 200", "RewriteBase ",
                          "RewriteRule ^/base/a$ /b", "RewriteRule /base.* /c", "RewriteHeader X ^a$ b"})},
    HeaderCase{"SuffixGoesIntoRelativeFormats",
               CrLfLines({"UriMatchSufix /s", "RewriteRule /a /x", "RewriteRule /b HTTP://h/", "RewriteRule /c x"}),
               CrLfLines({"RewriteEngine On", "RewriteCompatibility2 On", "RepeatLimit 200", "RewriteBase ",
                          "RewriteRule ^/a$ /x", "RewriteRule ^/b$ HTTP://h/", "RewriteRule ^/c$ /sx"})}),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

TEST(ConverterTest, KeepsEntriesInInputOrder)
{
    OldSyntaxConverter converter(CrLfLines({"# one", "", "RewriteRule /a /b", "Foo"}));
    EXPECT_TRUE(converter.text.empty());
    ASSERT_EQ(converter.entries.size(), 4u);
    EXPECT_EQ(converter.entries[0]->Name(), "# ");
    EXPECT_EQ(converter.entries[1]->Name(), "");
    EXPECT_EQ(converter.entries[2]->Name(), "RewriteRule ");
    EXPECT_EQ(converter.entries[3]->Name(), "# ");
}

// Bytes that are not text pass through unchanged inside the lines they stand in.
TEST(ConverterTest, KeepsNonTextBytes)
{
    const std::string binary("\0\x01\xff\xfe x", 6);
    const std::string old = "RewriteRule /a" + std::string(1, '\0') + "b /x\r\n" + binary + "\r\n";
    const std::string expected = Header() + "RewriteRule ^/a" + std::string(1, '\0') + "b$ /x\r\n"
                                 + "# # Line 1: (Unknown expression)\t" + binary + "\r\n";
    EXPECT_EQ(ConvertText(old), expected);
}

TEST(ConverterTest, Utf16TextIsKeptByteForByte)
{
    // "#a" CR LF "#b" in UTF-16 with its byte-order mark: no CR LF pair, LF bytes cut the lines.
    const std::string old("\xff\xfe#\0a\0\r\0\n\0#\0b\0", 14);
    const std::string expected = Header() + "# # Line 0: (Unknown expression)\t" + std::string("\xff\xfe#\0a\0\r\0", 8)
                                 + "\r\n" + "# # Line 1: (Unknown expression)\t" + std::string("\0#\0b\0", 5) + "\r\n";
    EXPECT_EQ(ConvertText(old), expected);
}

}
