// The converted text read back by the configuration model: it must be valid, and each converted
// condition must test what the old one tested.
#include <string>

#include <gtest/gtest.h>

#include "OldSyntaxConverter.h"
#include "RewriteConfig/Htaccess.h"
#include "TestData.h"

namespace {

using namespace Orvane::Quillon;

template <typename Test>
bool Is(const CfgRewriteCond& condition)
{
    return dynamic_cast<Test*>(condition.condFunction.get()) != nullptr;
}

TEST(NewLanguageTest, ConvertedSiteFileParsesWithoutErrors)
{
    Htaccess config;
    std::string errors;
    config.ParseText(ConvertText(QuillshiftTest::ReadFixture("site.ini")), errors);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(config.repeatLimit, 32);
    ASSERT_EQ(config.rules.size(), 5u);

    const CfgRewriteRule& host = *config.rules[0];
    ASSERT_EQ(host.conditions.size(), 1u);
    EXPECT_TRUE(host.conditions[0].nocase);
    EXPECT_EQ(host.redirectCode, 301);

    const CfgRewriteRule& product = *config.rules[1];
    ASSERT_EQ(product.conditions.size(), 2u);
    EXPECT_TRUE(product.conditions[0].negate);
    EXPECT_TRUE(Is<CondRegexp>(product.conditions[0]));
    EXPECT_EQ(product.conditions[0].pattern, "^/admin/.*$");
    EXPECT_TRUE(product.conditions[1].negate);
    EXPECT_TRUE(Is<CondFile>(product.conditions[1]));

    const CfgRewriteRule& api = *config.rules[2];
    ASSERT_EQ(api.conditions.size(), 2u);
    EXPECT_TRUE(api.conditions[0].ornext);
    EXPECT_TRUE(Is<CondEqual>(api.conditions[0]));
    EXPECT_EQ(api.conditions[0].pattern, "POST");
    EXPECT_TRUE(api.conditions[1].nocase);
    EXPECT_TRUE(api.forbidden);

    EXPECT_NE(dynamic_cast<CfgRewriteHeader*>(config.rules[3].get()), nullptr);
    const CfgRewriteProxy* proxy = dynamic_cast<CfgRewriteProxy*>(config.rules[4].get());
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->proxyFlags, 16u | 32u);
}

// Every kind of condition keeps its test, negation and flags through the conversion.
TEST(NewLanguageTest, ConditionsKeepTheirMeaning)
{
    struct Case {
        const char* pattern;
        const char* flags;
        bool negate;
        bool nocase;
        bool ornext;
        const char* test;
    };
    const Case cases[] = {
        {"/x", "", false, false, false, "regexp"},
        {"!/x", "[NC]", true, true, false, "regexp"},
        {"-f", "[OR]", false, false, true, "file"},
        {"!-d", "", true, false, false, "directory"},
        {"-s", "[NC,OR]", false, true, true, "size"},
        {"=abc", "", false, false, false, "equal"},
        {"!<abc", "[nocase]", true, true, false, "less"},
        {">abc", "[ornext]", false, false, true, "greater"},
    };
    for (const Case& c : cases) {
        const std::string old = std::string("RewriteCond %A ") + c.pattern + " " + c.flags + "\r\nRewriteRule /a /b\r\n";
        Htaccess config;
        std::string errors;
        config.ParseText(ConvertText(old), errors);
        EXPECT_EQ(errors, "") << c.pattern;
        ASSERT_EQ(config.rules.size(), 1u) << c.pattern;
        ASSERT_EQ(config.rules[0]->conditions.size(), 1u) << c.pattern;
        const CfgRewriteCond& condition = config.rules[0]->conditions[0];
        EXPECT_EQ(condition.negate != 0, c.negate) << c.pattern;
        EXPECT_EQ(condition.nocase != 0, c.nocase) << c.pattern;
        EXPECT_EQ(condition.ornext != 0, c.ornext) << c.pattern;
        const std::string test = c.test;
        const bool kindMatches = test == "regexp"      ? Is<CondRegexp>(condition)
                                 : test == "file"      ? Is<CondFile>(condition)
                                 : test == "directory" ? Is<CondDirectory>(condition)
                                 : test == "size"      ? Is<CondFileWithSize>(condition)
                                 : test == "equal"     ? Is<CondEqual>(condition)
                                 : test == "less"      ? Is<CondLess>(condition)
                                                       : Is<CondGreater>(condition);
        EXPECT_TRUE(kindMatches) << c.pattern;
    }
}

}
