// Two readings compare as a whole through their descriptions: texts that build different models
// describe differently, whatever part of the model they differ in; texts that only lay the same
// lines out differently describe alike.
#include "RewriteConfig/ModelDescription.h"
#include "RewriteConfig/QuillonConfig.h"

#include <gtest/gtest.h>

#include <string>

#include "ParseHelpers.h"

using namespace Orvane::Quillon;

namespace {

template <class Container>
std::string Described(const std::string& text)
{
    Container container;
    Parse(container, text);
    return DescribeModel(container);
}

// Whether the second text's model matches the first text's description.
template <class Container>
bool Matches(const std::string& first, const std::string& second)
{
    Container container;
    Parse(container, second);
    return MatchesDescription(container, Described<Container>(first));
}

struct Pair {
    const char* what;
    std::string a;
    std::string b;
};

TEST(ModelDescription, DiffersWhereTheModelsDiffer)
{
    const Pair pairs[] = {
        {"order of Files sections", "<Files a>\nRewriteRule ^x$ /1\n</Files>\n<Files a>\nRewriteRule ^x$ /2\n</Files>",
         "<Files a>\nRewriteRule ^x$ /2\n</Files>\n<Files a>\nRewriteRule ^x$ /1\n</Files>"},
        {"Files section path", "<Files a>\n</Files>", "<Files b>\n</Files>"},
        {"Files section left open", "<Files a>\n</Files>", "<Files a>"},
        {"rule flag", "RewriteRule ^x$ /y [L]", "RewriteRule ^x$ /y [L,NC]"},
        {"negated rule pattern", "RewriteRule ^x$ /y", "RewriteRule !^x$ /y"},
        {"substitution", "RewriteRule ^x$ /y", "RewriteRule ^x$ /z"},
        {"rule kind", "RewriteHeader X-A ^x$ /y", "RewriteRule ^x$ /y"},
        {"condition test", "RewriteCond %{A} -f\nRewriteRule ^x$ /y", "RewriteCond %{A} -d\nRewriteRule ^x$ /y"},
        {"condition flag", "RewriteCond %{A} ^b\nRewriteRule ^x$ /y", "RewriteCond %{A} ^b [NC]\nRewriteRule ^x$ /y"},
        {"pending condition", "RewriteRule ^x$ /y", "RewriteRule ^x$ /y\nRewriteCond %{A} ^b"},
        {"map", "RewriteMap m txt:a.txt", "RewriteMap m rnd:a.txt"},
        {"proxy setting", "<Orvane>\nProxySendTimeout 5\n</Orvane>", "<Orvane>\nProxySendTimeout 6\n</Orvane>"},
        {"directory-level value", "RepeatLimit 5\nRewriteEngine On", "RepeatLimit 6\nRewriteEngine On"},
        {"log level", "LogLevel warn", "LogLevel debug"},
        {"access file names", "AccessFileName a b", "AccessFileName b a"},
        {"error log", "ErrorLog C:/a.log", "ErrorLog C:/b.log"},
        {"rewrite log level", "RewriteLogLevel 3", "RewriteLogLevel 4"},
        {"order of Directory sections",
         "<Directory C:/a>\nRewriteRule ^x$ /1\n</Directory>\n<Directory C:/b>\n</Directory>",
         "<Directory C:/b>\n</Directory>\n<Directory C:/a>\nRewriteRule ^x$ /1\n</Directory>"},
        {"Directory or DirectoryMatch", "<Directory C:/a>\n</Directory>", "<DirectoryMatch C:/a>\n</DirectoryMatch>"},
        {"Location path", "<Location /a>\n</Location>", "<Location /b>\n</Location>"},
        {"first virtual host keeps the name",
         "<VirtualHost a>\nRewriteRule ^x$ /1\n</VirtualHost>\n<VirtualHost a>\nRewriteRule ^x$ /2\n</VirtualHost>",
         "<VirtualHost a>\nRewriteRule ^x$ /2\n</VirtualHost>\n<VirtualHost a>\nRewriteRule ^x$ /1\n</VirtualHost>"},
        {"one host for two names or two alike",
         "<VirtualHost a b>\nRewriteRule ^x$ /1\n</VirtualHost>",
         "<VirtualHost a>\nRewriteRule ^x$ /1\n</VirtualHost>\n<VirtualHost b>\nRewriteRule ^x$ /1\n</VirtualHost>"},
        {"virtual host left open", "<VirtualHost a>\n</VirtualHost>", "<VirtualHost a>"},
    };
    for (const Pair& p : pairs) {
        EXPECT_NE(Described<QuillonConfig>(p.a), Described<QuillonConfig>(p.b)) << p.what;
        EXPECT_FALSE(Matches<QuillonConfig>(p.a, p.b)) << p.what;
        EXPECT_FALSE(Matches<QuillonConfig>(p.b, p.a)) << p.what;
    }
}

TEST(ModelDescription, IsTheSameForTheSameLinesLaidOutOtherwise)
{
    const Pair pairs[] = {
        {"comments and blank lines", "RewriteEngine On\nRewriteRule ^x$ /y [L]",
         "# rules\n\nRewriteEngine On\n  # the one rule\nRewriteRule ^x$ /y [L]\n\n"},
        {"line ends and blanks", "RewriteRule ^x$ /y\nRepeatLimit 5", "  RewriteRule   ^x$   /y \r\nRepeatLimit 5\t"},
        {"joined lines", "RewriteRule ^x$ /y [L]", "RewriteRule ^x$ \\\n/y [L]"},
        {"letter case of the keywords", "RewriteEngine On\nLogLevel warn", "rewriteengine ON\nLOGLEVEL warn"},
    };
    for (const Pair& p : pairs) {
        EXPECT_EQ(Described<QuillonConfig>(p.a), Described<QuillonConfig>(p.b)) << p.what;
        EXPECT_EQ(Described<Htaccess>(p.a), Described<Htaccess>(p.b)) << p.what;
        EXPECT_TRUE(Matches<QuillonConfig>(p.a, p.b)) << p.what;
    }
}

// The containers' own kinds count: a directory level and a server level that read alike are still
// two kinds of configuration.
TEST(ModelDescription, NamesTheKindOfContainer)
{
    EXPECT_NE(Described<Htaccess>("RewriteEngine On"), Described<QuillonConfig>("RewriteEngine On"));
}

// A model with more in it than the description does not match it, nor one with less.
TEST(ModelDescription, MatchesOnlyTheWholeDescription)
{
    EXPECT_FALSE(Matches<Htaccess>("RewriteRule ^x$ /y", "RewriteRule ^x$ /y\nRewriteRule ^z$ /w"));
    EXPECT_FALSE(Matches<Htaccess>("RewriteRule ^x$ /y\nRewriteRule ^z$ /w", "RewriteRule ^x$ /y"));
    EXPECT_TRUE(Matches<Htaccess>("RewriteRule ^x$ /y\nRewriteRule ^z$ /w", "RewriteRule ^x$ /y\nRewriteRule ^z$ /w"));
}

}
