// The parse driver: physical lines, continuation, trimming, the escaped blank and the error lines.
#include "RewriteConfig/Htaccess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Orvane::Quillon;

namespace {

// Records every logical line it is offered and refuses the ones that start with "Foo".
class RecordingHtaccess : public Htaccess {
public:
    std::vector<std::string> offered;
    bool ParseLine(const std::string& line) override
    {
        offered.push_back(line);
        return line.compare(0, 3, "Foo") != 0;
    }
};

std::vector<std::string> LinesOf(const std::string& text)
{
    RecordingHtaccess h;
    std::string errors;
    EXPECT_TRUE(h.ParseText(text, errors));
    return h.offered;
}

typedef std::vector<std::string> Lines;

}

TEST(ParseText, CutsPhysicalLinesAtLineFeedsWithOptionalCarriageReturn)
{
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"A\r\nB\n", {"A", "B"}},
        {"A\nB", {"A", "B"}},
        {"A\n\nB", {"A", "", "B"}},
        {"\nA", {"", "A"}},
        {"A\r\r\nB", {"A", "B"}},           // the lone carriage return is trimmed
        {"A\rB\n", {"A\rB"}},               // a carriage return alone separates nothing
        {std::string("A\0B\nC", 5), {std::string("A\0B", 3), "C"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinesOf(c.text), c.lines) << c.text;
}

TEST(ParseText, JoinsContinuedLinesAndCountsThemOnce)
{
    const struct {
        std::string text;
        Lines lines;
    } cases[] = {
        {"RewriteRule a \\\n  b [L]\nX", {"RewriteRule a   b [L]", "X"}},
        {"RewriteBase /x\\", {"RewriteBase /x"}},
        {"a\\\\\nb", {"a\\b"}},                     // two backslashes: joined once, one stays
        {"a\\\nb\\", {"ab\\"}},                     // the appended last line keeps its backslash
        {"a\\\n\\\nb", {"ab"}},
        {"a\\", {"a"}},
        {"\\", {""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinesOf(c.text), c.lines) << c.text;
}

TEST(ParseText, ReplacesEscapedBlanks)
{
    EXPECT_EQ(LinesOf("^a\\ b$"), Lines({"^a\\x20b$"}));
    EXPECT_EQ(LinesOf("a\\\\ b"), Lines({"a\\\\x20b"}));  // scanned left to right without overlap
    EXPECT_EQ(LinesOf("a\\  b"), Lines({"a\\x20 b"}));
    // A blank that continuation puts after a backslash is escaped as well, on any line.
    EXPECT_EQ(LinesOf("a\\\\\n b"), Lines({"a\\x20b"}));
    EXPECT_EQ(LinesOf("x\\.y\n\\\\\r\n b\nc"), Lines({"x\\.y", "\\x20b", "c"}));
    EXPECT_EQ(LinesOf("a\\b\nc\nd\\ e"), Lines({"a\\b", "c", "d\\x20e"}));
}

TEST(ParseText, ReportsRefusedLinesWithLogicalNumbers)
{
    RecordingHtaccess h;
    std::string errors = "before\r\n";
    h.ParseText("a\nb\\\nc\nFoo bar\nFoo\\ x", errors);
    EXPECT_EQ(errors, "before\r\n"
                      "Unknown expression on line #3: Foo bar\r\n"
                      "Unknown expression on line #4: Foo\\x20x\r\n");
    EXPECT_EQ(h.lineNumber, 4);
}

TEST(ParseText, EmptyTextOffersNothing)
{
    RecordingHtaccess h;
    std::string errors;
    h.ParseText("", errors);
    EXPECT_TRUE(h.offered.empty());
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(h.lineNumber, 0);
}

TEST(ParseText, EachCallPushesOneSectionKindAndRestartsTheCount)
{
    Htaccess h;
    std::string errors;
    h.ParseText("RewriteEngine Off\n", errors);
    h.ParseText("x y z\n", errors);
    EXPECT_EQ(h.sectionKinds, std::vector<std::int32_t>({0, 0, 0}));
    EXPECT_EQ(errors, "Unknown expression on line #1: x y z\r\n");
    EXPECT_EQ(h.rewriteEngine, 0);
}
