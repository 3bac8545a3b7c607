// The editor's text logic on plain strings, and the command line rule.
#include "CommandLine.h"
#include "EditorText.h"

#include <gtest/gtest.h>

using namespace Orvane::Quillpen;

namespace {

TEST(EditorText, DisplayColumnCountsTabsToMultiplesOfEight)
{
    struct Case {
        const wchar_t* text;
        int column;
    };
    const Case cases[] = {
        {L"", 0}, {L"abc", 3}, {L"a\tb", 9}, {L"\t", 8}, {L"1234567\t", 8}, {L"12345678\t", 16}, {L"\t\tx", 17},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DisplayColumn(c.text, wcslen(c.text)), c.column) << c.column;
    EXPECT_EQ(DisplayColumn(L"a\tbcd", 2), 8);
}

TEST(EditorText, CommentRangeAndTexts)
{
    LineRange middle = CommentRange(10, 20);
    EXPECT_EQ(middle.start, 9);
    EXPECT_EQ(middle.end, 19);
    EXPECT_FALSE(middle.firstLine);
    LineRange top = CommentRange(0, 5);
    EXPECT_EQ(top.start, 0);
    EXPECT_EQ(top.end, 4);
    EXPECT_TRUE(top.firstLine);

    EXPECT_EQ(CommentOutText(L"\ra\rb", false), L"\r#a\r#b");
    EXPECT_EQ(CommentOutText(L"a\rb", true), L"#a\r#b");
    EXPECT_EQ(CommentOutText(L"x#y", false), L"x#y");
    EXPECT_EQ(UncommentText(L"\r#a\r##b\rc", false), L"\ra\r#b\rc");
    EXPECT_EQ(UncommentText(L"#a\rb#", true), L"a\rb#");
    EXPECT_EQ(UncommentText(L"a\r#b", true), L"a\rb");
    for (const wchar_t* text : {L"\ra\rb", L"a\r\r#c", L""}) {
        EXPECT_EQ(UncommentText(CommentOutText(text, true), true), text);
        EXPECT_EQ(UncommentText(CommentOutText(text, false), false), text);
    }
}

TEST(EditorText, HeaderRecognitionAndText)
{
    EXPECT_TRUE(HasConfigHeader(L"# Orvane Quillon configuration file", L"# Version 1.0.0.1"));
    EXPECT_TRUE(HasConfigHeader(L"# Orvane Quillon configuration file and more", L"# Version "));
    EXPECT_FALSE(HasConfigHeader(L"# orvane quillon configuration file", L"# Version 1"));
    EXPECT_FALSE(HasConfigHeader(L"# Orvane Quillon configuration file", L"#Version 1"));
    EXPECT_EQ(VersionText(3, 0, 0, 25), L"3.0.0.25");
    EXPECT_EQ(ConfigHeaderText(L"3.0.0.25", true), L"# Orvane Quillon configuration file\n# Version 3.0.0.25\n");
    EXPECT_EQ(ConfigHeaderText(L"3.0.0.25", false), L"# Orvane Quillon configuration file\n# Version 3.0.0.25\n\n");
}

TEST(EditorText, RuleLinesAndProbeParameters)
{
    struct Case {
        const char* line;
        bool rule;
    };
    const Case cases[] = {
        {"RewriteRule ^/a$ /b [R=301]", true},
        {"   RewriteRule ^/a$ /b [R=301]  ", true},
        {"rewriterule a b", true},
        {"RewriteRule a b # note", true},
        {"\tRewriteRule a b [L]\t", true},
        {"RewriteCond %{HTTPS} off", false},
        {"#RewriteRule a b", false},
        {"RewriteRule a", false},
        {"RewriteRule a b c", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRewriteRuleLine(c.line), c.rule) << c.line;

    EXPECT_EQ(ProbeParameters(L"  RewriteRule ^/a$ /b [R=301]\t", "  RewriteRule ^/a$ /b [R=301]\t"),
              L"\"RewriteRule ^/a$ /b [R=301]\"");
    EXPECT_EQ(ProbeParameters(L"RewriteRule \"a\" b", "RewriteRule \"a\" b"), L"\"RewriteRule \"a\" b\"");
    EXPECT_EQ(ProbeParameters(L"RewriteCond %{HTTPS} off", "RewriteCond %{HTTPS} off"), L"");
}

TEST(CommandLine, PathRules)
{
    struct Case {
        const wchar_t* line;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"", L""},
        {L"C:\\Web Sites\\a\\.htaccess", L"C:\\Web Sites\\a\\.htaccess"},
        {L"\"C:\\x y\\httpd.conf\" more", L"C:\\x y\\httpd.conf"},
        {L"\"C:\\x y\\httpd.conf", L"C:\\x y\\httpd.conf"},
        {L"\"", L""},
        {L"\"\" trailing", L""},
        {L" leading blank", L" leading blank"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathFromCommandLine(c.line), c.path);
}

}
