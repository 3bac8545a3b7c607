// The whole-text check that Apply runs before it saves.
#include "SyntaxCheck.h"

#include <gtest/gtest.h>

using namespace Orvane::Quillpen;

namespace {

TEST(SyntaxCheck, CollectsTheRefusedLinesOfAServerText)
{
    struct Case {
        const char* text;
        const char* errors;
    };
    const Case cases[] = {
        {"", ""},
        {"RewriteEngine On\r\nRewriteRule ^/a$ /b [R=301]\r\n", ""},
        {"<VirtualHost www.example.com>\r\nRewriteEngine On\r\n</VirtualHost>\r\n", ""},
        {"RewriteEngine On\r\nBogus one\r\nRewriteEngine Of\r\n",
         "Unknown expression on line #2: Bogus one\r\nUnknown expression on line #3: RewriteEngine Of\r\n"},
    };
    for (const Case& c : cases) {
        std::string errors;
        ASSERT_TRUE(CollectSyntaxErrors(c.text, errors)) << c.text;
        EXPECT_EQ(errors, c.errors) << c.text;
    }
}

TEST(SyntaxCheck, AppendsToWhatIsThere)
{
    std::string errors = "earlier\r\n";
    ASSERT_TRUE(CollectSyntaxErrors("Bogus\r\n", errors));
    EXPECT_EQ(errors, "earlier\r\nUnknown expression on line #1: Bogus\r\n");
}

}
