#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "OldText.h"

namespace {

using Lines = std::vector<std::pair<std::size_t, std::string>>;

Lines Split(const std::string& text)
{
    Lines lines;
    Orvane::Quillshift::ForEachLine(text, [&lines](const std::string& line, std::size_t number) {
        lines.emplace_back(number, line);
    });
    return lines;
}

struct SplitCase {
    const char* name;
    std::string text;
    Lines expected;
};

class LineSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(LineSplitTest, CutsAtLineEnds)
{
    EXPECT_EQ(Split(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LineSplitTest, ::testing::Values(
    SplitCase{"CrLf", "a\r\nb", {{0, "a"}, {1, "b"}}},
    SplitCase{"Lf", "a\nb", {{0, "a"}, {1, "b"}}},
    SplitCase{"MixedLineEnds", "a\r\nb\nc\r\n", {{0, "a"}, {1, "b"}, {2, "c"}}},
    SplitCase{"EmptyLinesInside", "a\r\n\r\nb\n\nc", {{0, "a"}, {1, ""}, {2, "b"}, {3, ""}, {4, "c"}}},
    SplitCase{"LeadingEmptyLinesGetNoNumber", "\r\n\n\r\nx\r\n", {{0, "x"}}},
    SplitCase{"FinalLineEndAddsNoLine", "a\r\n", {{0, "a"}}},
    SplitCase{"TrailingEmptyLinesCount", "a\r\n\r\n\n", {{0, "a"}, {1, ""}, {2, ""}}},
    SplitCase{"LoneCrStaysInLine", "a\rb\r\nc\r", {{0, "a\rb"}, {1, "c\r"}}},
    SplitCase{"CrBeforeCrLfStays", "a\r\r\n", {{0, "a\r"}}},
    SplitCase{"BlankLineStartsNumbering", " \r\nx", {{0, " "}, {1, "x"}}},
    SplitCase{"OnlyLineEnds", "\r\n\n\r\n", {}},
    SplitCase{"Empty", "", {}},
    SplitCase{"NulBytesKept", std::string("a\0b\nc", 5), {{0, std::string("a\0b", 3)}, {1, "c"}}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

struct FlagCase {
    std::string flags;
    std::vector<std::string> pieces;
};

class FlagSplitTest : public ::testing::TestWithParam<FlagCase> {};

TEST_P(FlagSplitTest, LowerCasesTrimsAndCuts)
{
    std::string flags = GetParam().flags;
    EXPECT_EQ(Orvane::Quillshift::SplitFlagList(flags), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(Cases, FlagSplitTest, ::testing::Values(
    FlagCase{"I,L", {"i", "l"}},
    FlagCase{"  I , L ,\tX  ", {"i", "l", "x"}},
    FlagCase{"", {}},
    FlagCase{"   ", {}},
    FlagCase{"RP", {"rp"}}));

}
