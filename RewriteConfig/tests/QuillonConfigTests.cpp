// The server level, with and without VirtualHost sections.
#include "RewriteConfig/QuillonConfig.h"

#include <gtest/gtest.h>

#include "ParseHelpers.h"

#include "RewriteConfig/TextFunctions.h"

using namespace Orvane::Quillon;

namespace {

QuillonConfig::HostPort Key(const char* host, const char* port)
{
    return QuillonConfig::HostPort(host, port);
}

}

TEST(QuillonConfig, Defaults)
{
    QuillonConfig plain(L"");
    QuillpageConfig page(L"");
    for (const QuillonConfig* config : {static_cast<const QuillonConfig*>(&plain), static_cast<const QuillonConfig*>(&page)}) {
        const QuillonConfig& c = *config;
        EXPECT_EQ(c.notifyOrder, 0x80000);
        EXPECT_TRUE(c.virtualHosts.empty());
        EXPECT_EQ(c.errorLog, L"");
        EXPECT_EQ(c.logLevel, 1);
        EXPECT_FALSE(c.openVirtualHost);
        EXPECT_EQ(c.rewriteEngine, 1);
    }
}

TEST(QuillonConfig, ServerDirectives)
{
    const struct {
        const char* line;
        bool accepted;
        std::int32_t notifyOrder;
        std::int32_t logLevel;
    } cases[] = {
        {"NotifyOrder = medium", true, 0x40000, 1},
        {"NotifyOrder=LOW # x", true, 0x20000, 1},
        {"notifyorder = High", true, 0x80000, 1},
        {"NotifyOrder MEDIUM", false, 0x80000, 1},
        {"LogLevel debug", true, 0x80000, 8},
        {"LogLevel warn", true, 0x80000, 5},
        {"LogLevel emerg # x", true, 0x80000, 1},
        {"LogLevel DEBUG", false, 0x80000, 1},
        {"LogLevel verbose", false, 0x80000, 1},
    };
    for (const auto& c : cases) {
        for (int page = 0; page < 2; ++page) {
            QuillonConfig plain;
            QuillpageConfig variant;
            QuillonConfig& config = page ? variant : plain;
            EXPECT_EQ(config.ParseLine(c.line), c.accepted) << c.line;
            EXPECT_EQ(config.notifyOrder, c.notifyOrder) << c.line;
            EXPECT_EQ(config.logLevel, c.logLevel) << c.line;
        }
    }
}

TEST(QuillonConfig, ErrorLogPaths)
{
    const struct {
        const char* line;
        const wchar_t* stored;
        const wchar_t* storedWithBase;
    } cases[] = {
        {"ErrorLog logs\\error.log", L"logs\\error.log", L"D:\\Q\\logs\\error.log"},
        {"ErrorLog C:\\logs\\error.log", L"C:\\logs\\error.log", L"C:\\logs\\error.log"},
        {"ErrorLog \"C:\\my logs\\e.log\"", L"C:\\my logs\\e.log", L"C:\\my logs\\e.log"},
        {"ErrorLog error.log # old", L"error.log # old", L"D:\\Q\\error.log # old"},
    };
    for (const auto& c : cases) {
        QuillonConfig plain;
        EXPECT_TRUE(plain.ParseLine(c.line));
        EXPECT_EQ(plain.errorLog, c.stored) << c.line;
        const std::wstring saved = LogBaseDirectory();
        SetLogBaseDirectory(L"D:\\Q\\");
        QuillpageConfig page;
        EXPECT_TRUE(page.ParseLine(c.line));
        SetLogBaseDirectory(saved);
        EXPECT_EQ(page.errorLog, c.storedWithBase) << c.line;
    }
}

TEST(QuillonConfig, VirtualHostKeys)
{
    QuillonConfig c;
    EXPECT_EQ(Parse(c, "<VirtualHost alpha:80 beta:*>\n"
                       "RewriteRule ^a$ /b\n"
                       "</VirtualHost>\n"
                       "<VirtualHost alpha:80  gamma >\n"
                       "RewriteRule ^c$ /d\n"
                       "</VirtualHost>\n"
                       "RewriteRule ^e$ /f\n"),
              "");
    ASSERT_EQ(c.virtualHosts.size(), 3u);
    const auto first = c.virtualHosts.at(Key("alpha", "80"));
    EXPECT_EQ(c.virtualHosts.at(Key("beta", "")), first);
    ASSERT_EQ(first->rules.size(), 1u);
    EXPECT_EQ(first->rules[0]->pattern, "^a$");
    const auto second = c.virtualHosts.at(Key("gamma", ""));
    EXPECT_NE(second, first);
    ASSERT_EQ(second->rules.size(), 1u);
    EXPECT_EQ(second->rules[0]->pattern, "^c$");
    ASSERT_EQ(c.rules.size(), 1u);
    EXPECT_EQ(c.rules[0]->pattern, "^e$");
    EXPECT_FALSE(c.openVirtualHost);
    EXPECT_EQ(c.virtualHosts.count(Key("Alpha", "80")), 0u);  // keys compare exactly
}

TEST(QuillonConfig, VirtualHostWithoutKeysStillOpens)
{
    QuillonConfig c;
    EXPECT_EQ(Parse(c, "<VirtualHost :80>\nRewriteEngine Off\n"), "");
    EXPECT_TRUE(c.virtualHosts.empty());
    ASSERT_TRUE(c.openVirtualHost);
    EXPECT_EQ(c.openVirtualHost->rewriteEngine, 0);
    EXPECT_EQ(c.rewriteEngine, 1);
    EXPECT_TRUE(c.ParseLine("</VirtualHost>"));
    EXPECT_TRUE(c.ParseLine("</VirtualHost>"));
    EXPECT_FALSE(c.openVirtualHost);
}

TEST(QuillonConfig, HostEntryWithSeveralColons)
{
    QuillonConfig c;
    EXPECT_TRUE(c.ParseLine("<VirtualHost a:b:c>"));
    EXPECT_EQ(c.virtualHosts.count(Key("a", "b:c")), 1u);
}

TEST(QuillonConfig, LinesTheVirtualHostRefusesAreReadAtTheServerLevel)
{
    QuillonConfig c;
    EXPECT_EQ(Parse(c, "<VirtualHost h>\nNotifyOrder = LOW\nErrorLog e.log\nRewriteLog r.log\nBogus\n"),
              "Unknown expression on line #5: Bogus\r\n");
    EXPECT_EQ(c.notifyOrder, 0x20000);
    EXPECT_EQ(c.errorLog, L"e.log");
    EXPECT_EQ(c.openVirtualHost->rewriteLog, L"r.log");
    EXPECT_EQ(c.rewriteLog, L"Rewrite.log");
}

TEST(QuillonConfig, RefusedInVirtualHostButAcceptedAtServerState)
{
    // The virtual host is inside an Orvane section of its own; the server level is not.
    QuillonConfig c;
    EXPECT_EQ(Parse(c, "<VirtualHost h>\n<Orvane>\nRewriteEngine Off\n"), "");
    EXPECT_EQ(c.openVirtualHost->rewriteEngine, 1);
    EXPECT_EQ(c.rewriteEngine, 0);
}

TEST(QuillpageConfig, RefusesVirtualHostTagsAndReadsTheirLinesAtServerLevel)
{
    QuillpageConfig c;
    EXPECT_EQ(Parse(c, "<VirtualHost alpha:80>\nRewriteRule ^a$ /b\nNotifyOrder = LOW\n</VirtualHost>\n"),
              "Unknown expression on line #1: <VirtualHost alpha:80>\r\n"
              "Unknown expression on line #4: </VirtualHost>\r\n");
    EXPECT_TRUE(c.virtualHosts.empty());
    EXPECT_FALSE(c.openVirtualHost);
    ASSERT_EQ(c.rules.size(), 1u);
    EXPECT_EQ(c.notifyOrder, 0x20000);
}

TEST(QuillonConfig, BothVariantsAgreeOutsideVirtualHosts)
{
    const std::string text = "RewriteEngine On\n<Directory /a>\nRewriteRule x y [L]\n</Directory>\n"
                             "<Location /b>\nRewriteCond %{A} b\nRewriteRule z w\n</Location>\n"
                             "AccessFileName .acl\nLogLevel info\nBad line\n";
    QuillonConfig plain;
    QuillpageConfig page;
    const std::string errors = Parse(plain, text);
    EXPECT_EQ(errors, "Unknown expression on line #11: Bad line\r\n");
    EXPECT_EQ(Parse(page, text), errors);
    EXPECT_EQ(page.directorySections.size(), plain.directorySections.size());
    EXPECT_EQ(page.locationSections.size(), 1u);
    EXPECT_EQ(page.accessFileNames, plain.accessFileNames);
    EXPECT_EQ(page.logLevel, 7);
}

TEST(QuillonConfig, WorksThroughTheBaseInterfaces)
{
    QuillonConfig c;
    Htaccess& asHtaccess = c;
    std::string errors;
    asHtaccess.ParseText("<VirtualHost x>\n", errors);
    EXPECT_EQ(errors, "");
    IHtaccess& asInterface = c;
    EXPECT_TRUE(asInterface.ParseLine("</VirtualHost>"));
    EXPECT_TRUE(asInterface.SetPath("/A"));
    EXPECT_EQ(c.path, "/a");
}
