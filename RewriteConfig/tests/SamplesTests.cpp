// The sample configuration files parse without a single error line.
#include <algorithm>

#include <gtest/gtest.h>

#include "TestSupport/TestFiles.h"

#include "ParseHelpers.h"

#include "RewriteConfig/RewriteConfig.h"

using namespace Orvane::Quillon;

TEST(Samples, ServerFileParsesCleanly)
{
    const std::string text = TestSupport::ReadWholeFile(std::string(QUILLON_SAMPLES_DIR) + "/httpd.conf");
    ASSERT_FALSE(text.empty());
    QuillonConfig config;
    EXPECT_EQ(Parse(config, text), "");
    EXPECT_EQ(config.directorySections.size(), 1u);
    EXPECT_EQ(config.locationSections.size(), 1u);
    EXPECT_EQ(config.virtualHosts.size(), 2u);
    EXPECT_EQ(config.proxySettings.connectTimeout, 90000);
    EXPECT_EQ(config.proxySettings.suppressErrors, 0);
    EXPECT_EQ(config.accessFileNames, std::vector<std::wstring>({L".htaccess", L".quillon"}));
    EXPECT_EQ(config.logLevel, 5);
    ASSERT_EQ(config.rewriteMaps.size(), 1u);
    EXPECT_EQ(config.rewriteMaps[0].source, L"c:\\quillon\\maps\\products.txt");
    EXPECT_EQ(config.rules.size(), 3u);

    // The site property page reads the same file without VirtualHost sections: only their tags are
    // refused.
    QuillpageConfig page;
    const std::string pageErrors = Parse(page, text);
    EXPECT_EQ(std::count(pageErrors.begin(), pageErrors.end(), '\n'), 2) << pageErrors;
}

TEST(Samples, PerDirectoryFileParsesCleanly)
{
    const std::string text = TestSupport::ReadWholeFile(std::string(QUILLON_SAMPLES_DIR) + "/.htaccess");
    ASSERT_FALSE(text.empty());
    Htaccess h;
    EXPECT_EQ(Parse(h, text), "");
    EXPECT_EQ(h.rules.size(), 4u);
    EXPECT_EQ(h.filesSections.size(), 2u);
    EXPECT_EQ(h.rewriteBase, "/");
    EXPECT_EQ(h.rules[3]->cookieLifetime, 1800);
}
