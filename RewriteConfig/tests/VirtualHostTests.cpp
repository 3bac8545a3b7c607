// Directory and Location sections and the log directives of a virtual host.
#include "RewriteConfig/VirtualHostHtaccess.h"

#include <climits>

#include <gtest/gtest.h>

#include "ParseHelpers.h"

#include "RewriteConfig/TextFunctions.h"

using namespace Orvane::Quillon;

namespace {

// Sets LogBaseDirectory for one test and puts the old value back.
class LogBase {
public:
    explicit LogBase(const std::wstring& base) : saved_(LogBaseDirectory()) { SetLogBaseDirectory(base); }
    ~LogBase() { SetLogBaseDirectory(saved_); }

private:
    std::wstring saved_;
};

}

TEST(VirtualHost, Defaults)
{
    VirtualHostHtaccess v;
    EXPECT_EQ(v.accessFileNames, std::vector<std::wstring>({L".htaccess"}));
    EXPECT_EQ(v.rewriteLog, L"Rewrite.log");
    EXPECT_EQ(v.rewriteLogLevel, 0);
    LogBase base(L"C:\\Quillon\\");
    EXPECT_EQ(VirtualHostHtaccess().rewriteLog, L"C:\\Quillon\\Rewrite.log");
}

TEST(VirtualHost, AccessFileNames)
{
    VirtualHostHtaccess v;
    EXPECT_EQ(Parse(v, "AccessFileName .Config  ht.acl\n"), "");
    EXPECT_EQ(v.accessFileNames, std::vector<std::wstring>({L".config", L"ht.acl"}));
    EXPECT_EQ(Parse(v, "AccessFileName\t.one # two\n"), "");
    EXPECT_EQ(v.accessFileNames, std::vector<std::wstring>({L".one"}));
    EXPECT_TRUE(v.ParseLine("AccessFileName  #x"));
    EXPECT_TRUE(v.accessFileNames.empty());
}

TEST(VirtualHost, LogPathsAreJoinedToTheBaseWhenRelative)
{
    {
        VirtualHostHtaccess v;
        EXPECT_EQ(Parse(v, "RewriteLog logs\\rewrite.log\nRewriteLogLevel 9\n"), "");
        EXPECT_EQ(v.rewriteLog, L"logs\\rewrite.log");
        EXPECT_EQ(v.rewriteLogLevel, 9);
    }
    LogBase base(L"C:\\Program Files\\Quillon\\");
    VirtualHostHtaccess v;
    Parse(v, "RewriteLog logs\\rewrite.log");
    EXPECT_EQ(v.rewriteLog, L"C:\\Program Files\\Quillon\\logs\\rewrite.log");
    Parse(v, "RewriteLog \"C:\\Logs\\R.log\"");
    EXPECT_EQ(v.rewriteLog, L"C:\\Logs\\R.log");
    Parse(v, "RewriteLog C:\\log.txt # old\nRewriteLogLevel 99999999999\n");
    EXPECT_EQ(v.rewriteLog, L"C:\\log.txt # old");
    EXPECT_EQ(v.rewriteLogLevel, INT32_MAX);
}

TEST(VirtualHost, SectionPaths)
{
    const struct {
        const char* tag;
        const char* close;
        const char* path;
        const char* finds;  // a path in which the section expression is found, or nullptr
    } cases[] = {
        {"<Directory C:\\Inetpub\\wwwroot>", "</Directory>", "c:/inetpub/wwwroot/", "C:/InetPub/wwwroot/"},
        {"<Directory /app/*>", "</Directory>", "/app/[^/]*/", "/app/x/"},
        {"<Directory \"/a b/\">", "</Directory>", "/a b/", "/a b/"},
        {"<Location /images>", "</Location>", "/images/[^/]*", "/images/a.gif"},
        {"<Location />", "</Location>", "/[^/]*", "/index.html"},
        {"<LocationMatch ^/API/(v1|v2)>", "</LocationMatch>", "^/api/(v1|v2)", "/api/v2"},
        {"<Location ~ \\.gif$>", "</Location>", "\\.gif$", "/x/a.GIF"},
        {"<Location  ~ ^/a>", "</Location>", "~ \\^/a/[^/]*", "x~ ^/a/b"},
    };
    for (const auto& c : cases) {
        VirtualHostHtaccess v;
        EXPECT_EQ(Parse(v, std::string(c.tag) + "\nRewriteEngine Off\n" + c.close + "\n"), "") << c.tag;
        const auto& list = c.close[2] == 'D' ? v.directorySections : v.locationSections;
        ASSERT_EQ(list.size(), 1u) << c.tag;
        EXPECT_EQ(list[0]->path, c.path) << c.tag;
        EXPECT_EQ(list[0]->rewriteEngine, 0) << c.tag;
        if (c.finds != nullptr) {
            EXPECT_TRUE(boost::regex_search(std::string(c.finds), list[0]->pathRegex)) << c.tag;
        }
        EXPECT_EQ(v.rewriteEngine, 1) << c.tag;
    }
}

TEST(VirtualHost, RegexDirectorySectionsKeepTheKindStack)
{
    for (const char* text : {"<DirectoryMatch ^/a>\nRewriteEngine Off\n</DirectoryMatch>\n",
                             "<Directory ~ ^/a>\nRewriteEngine Off\n</Directory>\n"}) {
        VirtualHostHtaccess v;
        EXPECT_EQ(Parse(v, text), "") << text;
        ASSERT_EQ(v.directoryMatchSections.size(), 1u) << text;
        EXPECT_TRUE(v.directorySections.empty());
        EXPECT_EQ(v.directoryMatchSections[0]->rewriteEngine, 0);
        EXPECT_EQ(v.directoryMatchSections[0]->path, "^/a");
        EXPECT_EQ(v.sectionKinds, std::vector<std::int32_t>({0, 0})) << text;
    }
}

TEST(VirtualHost, ClosingTagChoosesTheList)
{
    VirtualHostHtaccess v;
    EXPECT_EQ(Parse(v, "<Location /a>\nRewriteEngine Off\n</Directory>\n"), "");
    ASSERT_EQ(v.directorySections.size(), 1u);
    EXPECT_EQ(v.directorySections[0]->path, "/a/[^/]*");
    EXPECT_TRUE(v.locationSections.empty());
}

TEST(VirtualHost, OpeningTagReplacesTheOpenSection)
{
    VirtualHostHtaccess v;
    EXPECT_EQ(Parse(v, "<Directory /a>\n<Location /b>\n</Location>\n"), "");
    EXPECT_TRUE(v.directorySections.empty());
    ASSERT_EQ(v.locationSections.size(), 1u);
    EXPECT_EQ(v.locationSections[0]->path, "/b/[^/]*");
}

TEST(VirtualHost, OpenSectionTakesEveryOtherLine)
{
    VirtualHostHtaccess v;
    EXPECT_EQ(Parse(v, "<Directory /a>\nRewriteLog x\nAccessFileName y\nRewriteRule a b\n<Files *.x>\n"
                       "RewriteRule c d\n</Files>\n</Directory>\n</Directory>\n</Location>\n"),
              "Unknown expression on line #2: RewriteLog x\r\n"
              "Unknown expression on line #3: AccessFileName y\r\n");
    ASSERT_EQ(v.directorySections.size(), 1u);
    EXPECT_EQ(v.directorySections[0]->rules.size(), 1u);
    ASSERT_EQ(v.directorySections[0]->filesSections.size(), 1u);
    EXPECT_EQ(v.directorySections[0]->filesSections[0]->rules.size(), 1u);
    EXPECT_TRUE(v.rules.empty());
    EXPECT_EQ(v.accessFileNames, std::vector<std::wstring>({L".htaccess"}));
}

TEST(VirtualHost, FailedDirectoryMatchLeavesItsMark)
{
    VirtualHostHtaccess v;
    // The mark of the failed tag stays until the next Directory closing tag, so the Orvane tag inside
    // changes nothing and the proxy directive after it is refused.
    EXPECT_EQ(Parse(v, "<DirectoryMatch (>\nRewriteEngine Off\n<Orvane>\nProxySendTimeout 10\n"
                       "</Directory>\n<Orvane>\nProxySendTimeout 10\n"),
              "Unknown expression on line #1: <DirectoryMatch (>\r\n"
              "Unknown expression on line #4: ProxySendTimeout 10\r\n");
    EXPECT_EQ(v.rewriteEngine, 0);
    EXPECT_TRUE(v.directoryMatchSections.empty());
    EXPECT_EQ(v.proxySettings.sendTimeout, 10000);
}

TEST(VirtualHost, StrayDirectoryMatchCloseInsideOrvanePopsItsMark)
{
    VirtualHostHtaccess v;
    EXPECT_EQ(Parse(v, "<Orvane>\n</DirectoryMatch>\nProxySendTimeout 10\n"),
              "Unknown expression on line #3: ProxySendTimeout 10\r\n");
    // More closing tags than opening tags leave the stack empty; it then reads as outside sections.
    EXPECT_EQ(Parse(v, "</DirectoryMatch>\n</DirectoryMatch>\n</DirectoryMatch>\nRewriteEngine Off\n"), "");
    EXPECT_TRUE(v.sectionKinds.empty());
    EXPECT_EQ(v.CurrentSectionKind(), 0);
    EXPECT_EQ(v.rewriteEngine, 0);
}

TEST(VirtualHost, LogDirectivesWorkInsideOrvane)
{
    VirtualHostHtaccess v;
    EXPECT_EQ(Parse(v, "<Orvane>\nRewriteLogLevel 3\n</Orvane>\n"), "");
    EXPECT_EQ(v.rewriteLogLevel, 3);
}

TEST(VirtualHost, BadSectionExpressions)
{
    VirtualHostHtaccess v;
    EXPECT_FALSE(v.ParseLine("<LocationMatch (>"));
    EXPECT_FALSE(v.openSection);
    EXPECT_TRUE(v.ParseLine("RewriteEngine Off"));
    EXPECT_EQ(v.rewriteEngine, 0);
    EXPECT_TRUE(v.ParseLine("</LocationMatch>"));
    EXPECT_TRUE(v.locationSections.empty());
}
