// Condition parse and the condition tests, the file tests on a temporary folder.
#include "RewriteConfig/CfgRewriteCond.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <typeinfo>

#include <gtest/gtest.h>

using namespace Orvane::Quillon;

namespace {

CfgRewriteCond Cond(const char* testString, const char* pattern, const char* flags = "")
{
    CfgRewriteCond condition;
    condition.testString = testString;
    condition.pattern = pattern;
    condition.flagsText = flags;
    return condition;
}

template <class Test>
bool Is(const CfgRewriteCond& condition)
{
    return condition.condFunction && dynamic_cast<Test*>(condition.condFunction.get()) != nullptr;
}

bool Evaluate(CfgRewriteCond& condition, const std::string& value)
{
    boost::smatch captures;
    return condition.condFunction->Evaluate(value, condition.pattern, captures);
}

}

TEST(CfgRewriteCond, Parse)
{
    const struct {
        const char* testString;
        const char* pattern;
        const char* flags;
        bool ok;
        std::function<bool(const CfgRewriteCond&)> check;
    } cases[] = {
        {"%{HTTP_HOST}", "^www", "[NC,OR]", true, [](const CfgRewriteCond& c) {
             return c.nocase && c.ornext && Is<CondRegexp>(c) &&
                    static_cast<CondRegexp&>(*c.condFunction).nocase == 1;
         }},
        {"a", "b", "[O]", true, [](const CfgRewriteCond& c) { return c.O == 1; }},
        {"a", "b", "[NC,O]", true, [](const CfgRewriteCond& c) { return c.O == 1 && c.nocase == 1; }},
        {"a", "b", "[O,NC]", true, [](const CfgRewriteCond& c) { return c.O == 1 && c.nocase == 1; }},
        {"a", "b", "[X]", false, [](const CfgRewriteCond& c) { return !c.condFunction; }},
        {"a", "b", "[NC,X,OR]", false, [](const CfgRewriteCond& c) { return c.nocase == 1 && c.ornext == 0; }},
        {"a", "b", "[FORCE]", true, [](const CfgRewriteCond& c) { return c.ornext == 1; }},
        {"a", "b", "[sync]", true, [](const CfgRewriteCond& c) { return c.nocase == 1; }},
        {"a", "b", "[ornext , nocase]", true, [](const CfgRewriteCond& c) { return c.ornext && c.nocase; }},
        {"a", "!=abc", "[NC]", true, [](const CfgRewriteCond& c) {
             return c.negate == 1 && Is<CondEqual>(c) && c.pattern == "abc" &&
                    static_cast<CondEqual&>(*c.condFunction).nocase == 1;
         }},
        {"a", "=<abc", "", true, [](const CfgRewriteCond& c) { return Is<CondLess>(c) && c.pattern == "abc"; }},
        {"a", "<=abc", "", true, [](const CfgRewriteCond& c) { return Is<CondLess>(c) && c.pattern == "=abc"; }},
        {"a", ">x", "", true, [](const CfgRewriteCond& c) { return Is<CondGreater>(c) && c.pattern == "x"; }},
        {"a", "-d", "", true, [](const CfgRewriteCond& c) { return Is<CondDirectory>(c) && c.pattern.empty(); }},
        {"a", "-f", "", true, [](const CfgRewriteCond& c) { return Is<CondFile>(c); }},
        {"a", "!-s", "", true, [](const CfgRewriteCond& c) { return Is<CondFileWithSize>(c) && c.negate; }},
        {"a", "-sx", "", true, [](const CfgRewriteCond& c) { return Is<CondFileWithSize>(c) && c.pattern == "x"; }},
        {"a", "=-f", "", true, [](const CfgRewriteCond& c) { return Is<CondFile>(c); }},
        {"a", "-x", "", true, [](const CfgRewriteCond& c) { return Is<CondRegexp>(c); }},
        {"a", "-", "", true, [](const CfgRewriteCond& c) { return Is<CondRegexp>(c); }},
        {"a", "!", "", true, [](const CfgRewriteCond& c) { return c.negate == 1 && !c.condFunction; }},
        {"a", "=", "", true, [](const CfgRewriteCond& c) { return Is<CondEqual>(c) && c.pattern.empty(); }},
        {"a", "(", "", false, [](const CfgRewriteCond& c) {
             return Is<CondRegexp>(c) && static_cast<CondRegexp&>(*c.condFunction).regex.empty();
         }},
        {"", "b", "", false, [](const CfgRewriteCond& c) { return !c.condFunction; }},
        {"a", "", "", false, [](const CfgRewriteCond& c) { return !c.condFunction; }},
        {"%{HTTP:Referer}", "x", "", true, [](const CfgRewriteCond& c) {
             return !c.hasDollarBraceReference && c.hasHttpHeaderReference && c.hasPercentBraceReference;
         }},
        {"${map:%1}", "x", "", true, [](const CfgRewriteCond& c) {
             return c.hasDollarBraceReference && !c.hasHttpHeaderReference && !c.hasPercentBraceReference;
         }},
    };
    for (const auto& c : cases) {
        CfgRewriteCond condition = Cond(c.testString, c.pattern, c.flags);
        EXPECT_EQ(condition.Parse(), c.ok) << c.testString << " " << c.pattern << " " << c.flags;
        EXPECT_TRUE(c.check(condition)) << c.testString << " " << c.pattern << " " << c.flags;
    }
}

TEST(CfgRewriteCond, FlagTextLosesItsBrackets)
{
    CfgRewriteCond condition = Cond("a", "b", "[NC]");
    ASSERT_TRUE(condition.Parse());
    EXPECT_EQ(condition.flagsText, "nc");
}

TEST(CfgRewriteCond, ComparisonsTakeNocaseFromAnywhereInTheList)
{
    CfgRewriteCond condition = Cond("a", "=abc", "[OR,NC]");
    ASSERT_TRUE(condition.Parse());
    EXPECT_TRUE(Evaluate(condition, "ABC"));
}

TEST(CondFunctions, Comparisons)
{
    const struct {
        const char* pattern;
        const char* flags;
        const char* value;
        bool result;
    } cases[] = {
        {"=abc", "[NC]", "ABC", true},
        {"=abc", "", "ABC", false},
        {"=", "", "", true},
        {"=", "", "x", false},
        {"<a", "", "B", true},        // byte order: "B" before "a"
        {"<a", "[NC]", "B", false},   // ignoring case: "a" before "B"
        {">a", "[NC]", "B", true},
        {">a", "", "B", false},
        {"<\xE9", "", "z", true},     // bytes compare unsigned
    };
    for (const auto& c : cases) {
        CfgRewriteCond condition = Cond("t", c.pattern, c.flags);
        ASSERT_TRUE(condition.Parse()) << c.pattern;
        EXPECT_EQ(Evaluate(condition, c.value), c.result) << c.pattern << " " << c.flags << " " << c.value;
    }
    CfgRewriteCond embedded = Cond("t", "=abc");
    ASSERT_TRUE(embedded.Parse());
    EXPECT_TRUE(Evaluate(embedded, std::string("abc\0x", 5)));  // compared as C strings
}

TEST(CondFunctions, RegexpSearchesAndCaptures)
{
    CfgRewriteCond condition = Cond("%{HTTP_HOST}", "^(www)\\.(.+)$", "[NC]");
    ASSERT_TRUE(condition.Parse());
    boost::smatch captures;
    const std::string value = "WWW.example.com";
    EXPECT_TRUE(condition.condFunction->Evaluate(value, "ignored", captures));
    ASSERT_EQ(captures.size(), 3u);
    EXPECT_EQ(captures[2].str(), "example.com");
    CfgRewriteCond sensitive = Cond("a", "abc");
    ASSERT_TRUE(sensitive.Parse());
    EXPECT_TRUE(Evaluate(sensitive, "xxabcxx"));
    EXPECT_FALSE(Evaluate(sensitive, "ABC"));
}

TEST(CondFunctions, RegexpThatIsTooComplexIsNoMatch)
{
    CondRegexp regexp("(a*)*(b*)*(c*)*(d*)*(e*)*(f*)*(g*)*$x", 0);
    ASSERT_TRUE(regexp.Compile());
    boost::smatch captures;
    EXPECT_FALSE(regexp.Evaluate(std::string(4000, 'a') + "z", "", captures));
    CondRegexp empty("(", 0);
    EXPECT_FALSE(empty.Compile());
    EXPECT_FALSE(empty.Evaluate("x", "", captures));
}

TEST(CondFunctions, FileTests)
{
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("quillon-cond-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder / "sub");
    { std::ofstream(folder / "full.txt") << "content"; }
    { std::ofstream(folder / "empty.txt"); }
    const std::string dir = (folder / "sub").string();
    const std::string full = (folder / "full.txt").string();
    const std::string empty = (folder / "empty.txt").string();
    const std::string missing = (folder / "missing.txt").string();

    const struct {
        const char* pattern;
        const std::string& value;
        bool result;
    } cases[] = {
        {"-d", dir, true},     {"-d", full, false},   {"-d", missing, false},
        {"-f", full, true},    {"-f", empty, true},   {"-f", dir, false},   {"-f", missing, false},
        {"-s", full, true},    {"-s", empty, false},  {"-s", dir, false},   {"-s", missing, false},
    };
    for (const auto& c : cases) {
        CfgRewriteCond condition = Cond("%{REQUEST_FILENAME}", c.pattern);
        ASSERT_TRUE(condition.Parse());
        EXPECT_EQ(Evaluate(condition, c.value), c.result) << c.pattern << " " << c.value;
    }
    fs::remove_all(folder);
}

TEST(CfgRewriteCond, CopiesShareTheTestFunction)
{
    CfgRewriteCond condition = Cond("a", "b");
    ASSERT_TRUE(condition.Parse());
    const CfgRewriteCond copy = condition;
    EXPECT_EQ(copy.condFunction, condition.condFunction);
    EXPECT_EQ(condition.condFunction.use_count(), 2);
}
