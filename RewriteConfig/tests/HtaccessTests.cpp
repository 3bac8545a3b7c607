// The per-directory language: directives, rule and condition gathering, Files and Orvane sections.
#include "RewriteConfig/Htaccess.h"

#include <climits>
#include <functional>

#include <gtest/gtest.h>

#include "ParseHelpers.h"

using namespace Orvane::Quillon;

TEST(Htaccess, ConstructorDefaults)
{
    Htaccess h(L"C:\\inetpub\\wwwroot\\.htaccess");
    EXPECT_EQ(h.rewriteEngine, 1);
    EXPECT_EQ(h.rewriteBase, "");
    EXPECT_EQ(h.repeatLimit, 200);
    EXPECT_EQ(h.fileDirectory, L"C:\\inetpub\\wwwroot");
    EXPECT_EQ(h.allowOverride, 31);
    EXPECT_EQ(h.inheritOptions, 0);
    EXPECT_EQ(h.proxySettings.connectTimeout, 60000);
    EXPECT_EQ(h.proxySettings.receiveTimeout, 30000);
    EXPECT_EQ(h.proxySettings.sendTimeout, 30000);
    EXPECT_EQ(h.proxySettings.suppressErrors, 1);
    EXPECT_EQ(h.rewriteCompatibility2, 0);
    EXPECT_EQ(h.redirectHandlerInternal, 1);
    EXPECT_EQ(h.sectionKinds, std::vector<std::int32_t>({0}));
    ASSERT_TRUE(h.pendingRule);
    EXPECT_EQ(Htaccess(L"name").fileDirectory, L"name");
}

// One line into a fresh object: accepted or not, and the field it sets.
TEST(Htaccess, SingleDirectives)
{
    const struct {
        const char* line;
        bool accepted;
        std::function<bool(const Htaccess&)> check;
    } cases[] = {
        {"RewriteEngine off", true, [](const Htaccess& h) { return h.rewriteEngine == 0; }},
        {"rewriteengine ON  # x", true, [](const Htaccess& h) { return h.rewriteEngine == 1; }},
        {"RewriteEngine maybe", false, [](const Htaccess& h) { return h.rewriteEngine == 1; }},
        {"RewriteEngineOn", false, [](const Htaccess&) { return true; }},
        {"RewriteBase", true, [](const Htaccess& h) { return h.rewriteBase == "\"\""; }},
        {"RewriteBase # x", true, [](const Htaccess& h) { return h.rewriteBase == "\"\""; }},
        {"RewriteBase /app/", true, [](const Htaccess& h) { return h.rewriteBase == "/app/"; }},
        {"RewriteBase/app", true, [](const Htaccess& h) { return h.rewriteBase == "/app"; }},
        {"RewriteBaseline", true, [](const Htaccess& h) { return h.rewriteBase == "line"; }},
        {"RepeatLimit 50", true, [](const Htaccess& h) { return h.repeatLimit == 50; }},
        {"RepeatLimit 99999999999999999999", true, [](const Htaccess& h) { return h.repeatLimit == INT32_MAX; }},
        {"RepeatLimit -1", false, [](const Htaccess& h) { return h.repeatLimit == 200; }},
        {"AllowOverride none", true, [](const Htaccess& h) { return h.allowOverride == 0; }},
        {"AllowOverride Limit", true, [](const Htaccess& h) { return h.allowOverride == 8; }},
        {"AllowOverride FileInfo Indexes", false, [](const Htaccess& h) { return h.allowOverride == 31; }},
        {"RewriteOptions inherit", true, [](const Htaccess& h) { return h.inheritOptions == 1; }},
        {"RewriteOptions", false, [](const Htaccess& h) { return h.inheritOptions == 0; }},
        {"RewriteOptions all", false, [](const Htaccess&) { return true; }},
        {"RewriteOptions #", true, [](const Htaccess& h) { return h.inheritOptions == 0; }},
        {"RewriteCompatibility2 On", true, [](const Htaccess& h) { return h.rewriteCompatibility2 == 1; }},
        {"RedirectHanler External", true, [](const Htaccess& h) { return h.redirectHandlerInternal == 0; }},
        {"RedirectHanler internal", true, [](const Htaccess& h) { return h.redirectHandlerInternal == 1; }},
        {"RedirectHandler External", false, [](const Htaccess& h) { return h.redirectHandlerInternal == 1; }},
        {"# comment", true, [](const Htaccess&) { return true; }},
        {"ProxyConnectTimeout 90", false, [](const Htaccess& h) { return h.proxySettings.connectTimeout == 60000; }},
        {"Options -Indexes", false, [](const Htaccess&) { return true; }},
        {"RewriteCond a b c", false, [](const Htaccess& h) { return h.pendingRule->conditions.empty(); }},
        {"RewriteRule ^a$", false, [](const Htaccess& h) { return h.rules.empty(); }},
    };
    for (const auto& c : cases) {
        Htaccess h;
        EXPECT_EQ(h.ParseLine(c.line), c.accepted) << c.line;
        EXPECT_TRUE(c.check(h)) << c.line;
    }
}

TEST(Htaccess, LastAllowOverrideWins)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "AllowOverride FileInfo\nAllowOverride Indexes\n"), "");
    EXPECT_EQ(h.allowOverride, 4);
}

TEST(Htaccess, RewriteMapEntries)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "RewriteMap m txt:\"C:\\Maps\\A.txt\"\n"
                       "RewriteMap m int:ToLower\n"
                       "RewriteMap m prg:x\n"
                       "RewriteMap r RND : C:\\R.map # c\n"
                       "RewriteMap m txt : /x # c\n"),
              "");
    ASSERT_EQ(h.rewriteMaps.size(), 5u);
    EXPECT_EQ(h.rewriteMaps[0].name, "m");
    EXPECT_EQ(h.rewriteMaps[0].type, 0);
    EXPECT_EQ(h.rewriteMaps[0].source, L"c:\\maps\\a.txt");
    EXPECT_EQ(h.rewriteMaps[1].type, 2);
    EXPECT_EQ(h.rewriteMaps[1].source, L"ToLower");
    EXPECT_EQ(h.rewriteMaps[2].source, L"");
    EXPECT_NE(h.rewriteMaps[2].type, 0);
    EXPECT_NE(h.rewriteMaps[2].type, 1);
    EXPECT_NE(h.rewriteMaps[2].type, 2);
    // A blank before the colon belongs to the type word, which then is no known type.
    EXPECT_EQ(h.rewriteMaps[3].source, L"");
    EXPECT_EQ(h.rewriteMaps[4].source, L"");
}

TEST(Htaccess, ConditionsGatherOnTheNextRuleThatCompiles)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "RewriteCond %{HTTP_HOST} ^www [NC]\n"
                       "RewriteCond %{REQUEST_URI} !-f\n"
                       "RewriteRule ^(.*)$ /x/$1 [L]\n"
                       "RewriteRule ^b$ /c\n"),
              "");
    ASSERT_EQ(h.rules.size(), 2u);
    EXPECT_EQ(h.rules[0]->conditions.size(), 2u);
    EXPECT_EQ(h.rules[0]->conditions[0].testString, "%{HTTP_HOST}");
    EXPECT_EQ(h.rules[0]->conditions[1].negate, 1);
    EXPECT_TRUE(h.rules[1]->conditions.empty());
    EXPECT_EQ(h.rules[0]->last, 1);
    EXPECT_EQ(h.rules[0]->substitution, "/x/$1");
}

TEST(Htaccess, RefusedRuleKeepsItsConditionsPending)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "RewriteCond %{HTTP_HOST} ^www\n"
                       "RewriteRule ( /x [R]\n"
                       "RewriteRule ^ok$ /y\n"),
              "Unknown expression on line #2: RewriteRule ( /x [R]\r\n");
    ASSERT_EQ(h.rules.size(), 1u);
    EXPECT_EQ(h.rules[0]->conditions.size(), 1u);
    EXPECT_EQ(h.rules[0]->pattern, "^ok$");
    // The flags of the failed line were set on the reused object.
    EXPECT_EQ(h.rules[0]->redirectCode, 302);
}

TEST(Htaccess, RefusedConditionIsDropped)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "RewriteCond %{A} ( \nRewriteCond %{A} x [bogus]\nRewriteRule a b\n"),
              "Unknown expression on line #1: RewriteCond %{A} (\r\n"
              "Unknown expression on line #2: RewriteCond %{A} x [bogus]\r\n");
    ASSERT_EQ(h.rules.size(), 1u);
    EXPECT_TRUE(h.rules[0]->conditions.empty());

    // Between accepted conditions, only the refused one goes.
    Htaccess between;
    EXPECT_EQ(Parse(between, "RewriteCond %{A} x [NC]\nRewriteCond %{B} (\nRewriteCond %{C} =y\nRewriteRule a b\n"),
              "Unknown expression on line #2: RewriteCond %{B} (\r\n");
    ASSERT_EQ(between.rules.size(), 1u);
    const std::vector<CfgRewriteCond>& kept = between.rules[0]->conditions;
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].testString, "%{A}");
    EXPECT_EQ(kept[0].nocase, 1);
    EXPECT_EQ(kept[1].testString, "%{C}");
    EXPECT_EQ(kept[1].pattern, "y");
    EXPECT_NE(kept[1].condFunction, nullptr);
}

TEST(Htaccess, CompatibilitySwitchSetsOOfLaterRules)
{
    Htaccess h;
    Parse(h, "RewriteRule a b\nRewriteCompatibility2 On\nRewriteRule c d\n");
    ASSERT_EQ(h.rules.size(), 2u);
    EXPECT_EQ(h.rules[0]->O, 1);
    EXPECT_EQ(h.rules[1]->O, 0);
}

TEST(Htaccess, RuleFlagsGluedToTheSubstitutionBelongToIt)
{
    Htaccess h;
    EXPECT_TRUE(h.ParseLine("RewriteRule ^a$ /b[L]"));
    ASSERT_EQ(h.rules.size(), 1u);
    EXPECT_EQ(h.rules[0]->substitution, "/b[L]");
    EXPECT_EQ(h.rules[0]->last, 0);
}

TEST(Htaccess, HeaderAndProxyUseUpThePendingConditions)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "RewriteCond %{A} x\n"
                       "RewriteHeader X-Host ^(.*)$ $1 [NC]\n"
                       "RewriteCond %{B} y\n"
                       "RewriteProxy ^/app/(.*) http://backend/$1 [D,CR,H]\n"
                       "RewriteProxy ^/q http://b/ [R]\n"
                       "RewriteHeader a ( c\n"
                       "RewriteRule z w\n"),
              "Unknown expression on line #6: RewriteHeader a ( c\r\n");
    ASSERT_EQ(h.rules.size(), 4u);
    const CfgRewriteHeader* header = dynamic_cast<const CfgRewriteHeader*>(h.rules[0].get());
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->headerName, "X-Host");
    EXPECT_EQ(header->conditions.size(), 1u);
    EXPECT_EQ(header->nocase, 1);
    EXPECT_EQ(header->O, 0);
    const CfgRewriteProxy* proxy = dynamic_cast<const CfgRewriteProxy*>(h.rules[1].get());
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->substitution, "http://backend/$1");
    EXPECT_EQ(proxy->proxyFlags, 19u);
    EXPECT_EQ(proxy->conditions.size(), 1u);
    // An unknown flag on a proxy does not refuse the line.
    EXPECT_NE(dynamic_cast<const CfgRewriteProxy*>(h.rules[2].get()), nullptr);
    EXPECT_EQ(h.rules[2]->redirectCode, 0);
    EXPECT_TRUE(h.rules[2]->conditions.empty());
    EXPECT_TRUE(h.rules[3]->conditions.empty());
}

TEST(Htaccess, OrvaneSectionHoldsOnlyTheProxySettings)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "<Orvane>\n"
                       "ProxyConnectTimeout 90\n"
                       "ProxySuppressErrors off\n"
                       "# comment\n"
                       "RewriteEngine On\n"
                       "</Orvane>\n"
                       "ProxySendTimeout 5\n"),
              "Unknown expression on line #5: RewriteEngine On\r\n"
              "Unknown expression on line #7: ProxySendTimeout 5\r\n");
    EXPECT_EQ(h.proxySettings.connectTimeout, 90000);
    EXPECT_EQ(h.proxySettings.receiveTimeout, 30000);
    EXPECT_EQ(h.proxySettings.sendTimeout, 30000);
    EXPECT_EQ(h.proxySettings.suppressErrors, 0);
    EXPECT_EQ(h.sectionKinds, std::vector<std::int32_t>({0, 0}));
}

TEST(Htaccess, ProxyTimeoutsSaturate)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "<Orvane>\nProxyReceiveTimeout 2147484\nProxySendTimeout 2147483\n"
                       "ProxyConnectTimeout 123456789012345678901234567890\n"),
              "");
    EXPECT_EQ(h.proxySettings.receiveTimeout, INT32_MAX);
    EXPECT_EQ(h.proxySettings.sendTimeout, 2147483000);
    EXPECT_EQ(h.proxySettings.connectTimeout, INT32_MAX);
}

TEST(Htaccess, NestedOrvaneTagsChangeNothing)
{
    Htaccess h;
    Parse(h, "<Orvane>\n<Orvane>\n</Orvane>\nProxySendTimeout 1\n</Orvane>\n</Orvane>\n");
    EXPECT_EQ(h.proxySettings.sendTimeout, 30000);
    EXPECT_EQ(h.sectionKinds, std::vector<std::int32_t>({0, 0}));
}

TEST(Htaccess, FilesSectionRecordsItsOwnLines)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "<Files *.gif>\n"
                       "RewriteEngine Off\n"
                       "RewriteCond %{A} b\n"
                       "RewriteRule a b\n"
                       "</Files>\n"
                       "RewriteRule c d\n"),
              "");
    ASSERT_EQ(h.filesSections.size(), 1u);
    const DirectoryLevel& files = *h.filesSections[0];
    EXPECT_EQ(files.path, "[^/]*\\.gif");
    EXPECT_EQ(files.rewriteEngine, 0);
    ASSERT_EQ(files.rules.size(), 1u);
    EXPECT_EQ(files.rules[0]->conditions.size(), 1u);
    EXPECT_EQ(h.rewriteEngine, 1);
    ASSERT_EQ(h.rules.size(), 1u);
    EXPECT_TRUE(h.rules[0]->conditions.empty());
    EXPECT_FALSE(h.openFilesSection);
    EXPECT_TRUE(boost::regex_match("a.gif", files.pathRegex));
}

TEST(Htaccess, FilesMatchAndFilesTilde)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "<FilesMatch \"\\.(PHP|inc)$\">\n</FilesMatch>\n<Files ~ ^x>\n</Files>\n"), "");
    ASSERT_EQ(h.filesSections.size(), 2u);
    EXPECT_EQ(h.filesSections[0]->path, "\\.(php|inc)$");
    EXPECT_EQ(h.filesSections[1]->path, "^x");
}

TEST(Htaccess, FilesMatchThatDoesNotCompileOpensNoSection)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "<FilesMatch (>\nRewriteEngine Off\n</FilesMatch>\n"),
              "Unknown expression on line #1: <FilesMatch (>\r\n"
              "Unknown expression on line #3: </FilesMatch>\r\n");
    EXPECT_TRUE(h.filesSections.empty());
    EXPECT_EQ(h.rewriteEngine, 0);
}

TEST(Htaccess, FilesSectionsDoNotNestAndUnclosedOnesAreNotListed)
{
    Htaccess h;
    EXPECT_EQ(Parse(h, "<Files a>\nRewriteEngine Off\n<Files b>\n</Files>\n<Files c>\nRewriteBase /c\n"), "");
    ASSERT_EQ(h.filesSections.size(), 1u);
    EXPECT_EQ(h.filesSections[0]->path, "b");
    EXPECT_EQ(h.filesSections[0]->rewriteEngine, 1);
    ASSERT_TRUE(h.openFilesSection);
    EXPECT_EQ(h.openFilesSection->rewriteBase, "/c");
}

TEST(SetPath, LowerCasesUnquotesAndCompiles)
{
    DirectoryLevel d;
    EXPECT_TRUE(d.SetPath("\"/Images/\\S+\""));
    EXPECT_EQ(d.path, "/images/\\s+");
    EXPECT_TRUE(boost::regex_match("/IMAGES/ ", d.pathRegex));
    EXPECT_FALSE(d.SetPath("a("));
    EXPECT_EQ(d.path, "a(");
    EXPECT_EQ(d.pathRegex.str(), "/images/\\s+");
}
