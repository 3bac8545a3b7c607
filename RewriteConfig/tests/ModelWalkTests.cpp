// The walk of the model's fields against the directive tables: every row of each table has sample
// lines, and what each keeps shows in the description, so that a directive whose field or class
// the walk lacks makes a test fail.
#include "RewriteConfig/ModelDescription.h"
#include "RewriteConfig/ModelWalk.h"
#include "RewriteConfig/QuillonConfig.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "DirectiveTables.h"
#include "ParseHelpers.h"

using namespace Orvane::Quillon;
using namespace Orvane::Quillon::Detail;

namespace {

// The lines that show what one row keeps, each read after the set-up, where the row is tried and
// its expression matches the line. Each changes the description of the container after the set-up,
// and no two describe alike, so that a field in which two of them differ must be walked. The rows
// for blank lines and comments keep nothing: their lines leave the description as it was.
struct RowSamples {
    const char* setUp;
    std::vector<std::string> lines;
    bool keepsNothing;
};

const std::vector<RowSamples> kDirectorySamples = {
    {"", {"", " \t"}, true},
    {"", {"# a comment"}, true},
    {"", {"<FilesMatch ^a>", "<FilesMatch ^b>"}, false},
    {"", {"<Files a>", "<Files b>"}, false},
    {"<Files a>", {"</Files>"}, false},
    {"<Files a>", {"</Files>"}, false},
    {"<Files a>", {"RewriteEngine Off"}, false},
    {"", {"<Orvane>"}, false},
    {"<Orvane>", {"</Orvane>"}, false},
    {"<Orvane>", {"ProxyConnectTimeout 5"}, false},
    {"<Orvane>", {"ProxyReceiveTimeout 5"}, false},
    {"<Orvane>", {"ProxySendTimeout 5"}, false},
    {"<Orvane>", {"ProxySuppressErrors Off"}, false},
    {"", {"RepeatLimit 5"}, false},
    {"", {"AllowOverride None", "AllowOverride Limit"}, false},
    {"", {"RewriteEngine Off"}, false},
    {"", {"RewriteOptions inherit"}, false},
    {"",
     {"RewriteMap m txt:a.txt", "RewriteMap n txt:a.txt", "RewriteMap m txt:b.txt", "RewriteMap m rnd:a.txt",
      "RewriteMap m int:a.txt", "RewriteMap m prg:a.txt"},
     false},
    {"", {"RewriteBase /a", "RewriteBase /b"}, false},
    // The pattern's prefixes are cut off: the comparisons and file tests differ only in their kind.
    {"",
     {"RewriteCond a b", "RewriteCond x b", "RewriteCond a c", "RewriteCond a !b", "RewriteCond a b [NC]",
      "RewriteCond a b [OR]", "RewriteCond a b [O]", "RewriteCond ${m:a} b", "RewriteCond %{HTTP:a} b",
      "RewriteCond %{a} b", "RewriteCond a =b", "RewriteCond a <b", "RewriteCond a >b", "RewriteCond a -d",
      "RewriteCond a -f", "RewriteCond a -s"},
     false},
    {"",
     {"RewriteRule ^x$ /y", "RewriteRule ^z$ /y", "RewriteRule ^x$ /z", "RewriteRule !^x$ /y",
      "RewriteRule ^x$ /y [NC]", "RewriteRule ^x$ /y [F,G,P,L,N,C,QSA,NE,LP,U,O,CL,CU]",
      "RewriteRule ^x$ /y [R=302,S=2,CO=n:v:d:5:/p,T=text/a]", "RewriteRule ^x$ /${m:x}",
      "RewriteRule ^x$ /%{HTTP:a}", "RewriteRule ^x$ /%{a}", "RewriteRule ( /y"},
     false},
    {"", {"RewriteHeader X-A ^x$ /y", "RewriteHeader X-B ^x$ /y"}, false},
    {"", {"RewriteProxy ^/a http://b/ [D]", "RewriteProxy ^/a http://b/"}, false},
    {"", {"RewriteCompatibility2 On"}, false},
    {"", {"RedirectHanler External"}, false},
};

const std::vector<RowSamples> kVirtualHostSamples = {
    {"", {"<DirectoryMatch ^C:/a>", "<Directory ~ ^C:/b>"}, false},
    {"", {"<Directory C:/a>", "<Directory C:/b>"}, false},
    {"<Directory C:/a>", {"</Directory>"}, false},
    {"<DirectoryMatch ^C:/a>", {"</DirectoryMatch>"}, false},
    {"", {"<LocationMatch ^/a>", "<Location ~ ^/b>"}, false},
    {"", {"<Location /a>", "<Location /b>"}, false},
    {"<Location /a>", {"</Location>"}, false},
    {"<Location /a>", {"RewriteEngine Off"}, false},
    {"", {"RewriteEngine Off"}, false},
    // Code page 1252 text: the paths differ in one accented letter.
    {"", {"RewriteLog C:/a.log", "RewriteLog C:/\xe9.log", "RewriteLog C:/\xe8.log"}, false},
    {"", {"RewriteLogLevel 3"}, false},
    {"", {"AccessFileName a", "AccessFileName a b", "AccessFileName b a"}, false},
};

// A name that a later section repeats stays with the first; one section may take several names.
const std::vector<RowSamples> kServerSamples = {
    {"<VirtualHost a>", {"RewriteEngine Off"}, false},
    {"", {"RewriteLogLevel 3"}, false},
    {"<VirtualHost a>\n</VirtualHost>",
     {"<VirtualHost b>", "<VirtualHost b:80>", "<VirtualHost b c>", "<VirtualHost a>"},
     false},
    {"<VirtualHost a>", {"</VirtualHost>"}, false},
    {"", {"NotifyOrder = LOW"}, false},
    {"", {"NotifyOrder = MEDIUM"}, false},
    {"NotifyOrder = LOW", {"NotifyOrder = HIGH"}, false},
    {"", {"ErrorLog C:/a.log", "ErrorLog C:/\xe9.log", "ErrorLog C:/\xe8.log"}, false},
    {"", {"LogLevel debug", "LogLevel warn"}, false},
};

// Whether the row is tried in the container's state.
template <class Container>
bool Tried(const DirectiveRow<Container>& row, Container& container)
{
    return row.where(container);
}

bool Tried(const DirectiveRow<ServerLine>& row, QuillonConfig& config)
{
    return row.where(ServerLine{config, true});
}

// The site page's reader of a server file does not know the virtual-host tags.
bool Tried(const DirectiveRow<ServerLine>& row, QuillpageConfig& config)
{
    return row.where(ServerLine{config, false});
}

template <class Container>
std::string Described(const std::string& text)
{
    Container container;
    Parse(container, text);
    return DescribeModel(container);
}

// Which rows of a table the container's reader tries: every one, or those it tries in the
// samples' set-ups (the others are left out).
enum class Rows { Every, TriedOnly };

template <class Container, class Row>
void ExpectEveryRowShows(const char* table, const Row* rows, std::size_t count, const std::vector<RowSamples>& samples,
                         Rows which = Rows::Every)
{
    SCOPED_TRACE(table);
    // A row added to the table needs its samples here.
    ASSERT_EQ(samples.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
        const RowSamples& row = samples[i];
        SCOPED_TRACE("row " + std::to_string(i) + " after '" + row.setUp + "'");
        const std::string before = Described<Container>(row.setUp);
        std::set<std::string> seen;
        for (const std::string& line : row.lines) {
            Container container;
            Parse(container, row.setUp);
            const bool tried = Tried(rows[i], container);
            if (!tried && which == Rows::TriedOnly)
                continue;
            Captures groups;
            EXPECT_TRUE(tried && rows[i].expression.Match(LineText(line), groups)) << line;
            const std::string after = Described<Container>(std::string(row.setUp) + "\n" + line);
            if (row.keepsNothing) {
                EXPECT_TRUE(after == before) << "keeps something: " << line;
            } else {
                EXPECT_TRUE(after != before) << "the walk misses what this line keeps: " << line;
                EXPECT_TRUE(seen.insert(after).second) << "describes as an earlier line of the row: " << line;
            }
        }
    }
}

TEST(ModelWalk, EveryDirectoryLevelRowShowsInTheDescription)
{
    ExpectEveryRowShows<Htaccess>("directory level", kDirectoryTable, kDirectoryTableSize, kDirectorySamples);
}

TEST(ModelWalk, EveryVirtualHostRowShowsInTheDescription)
{
    ExpectEveryRowShows<VirtualHostHtaccess>("virtual host", kVirtualHostTable, kVirtualHostTableSize,
                                             kVirtualHostSamples);
}

TEST(ModelWalk, EveryServerRowShowsInTheDescription)
{
    ExpectEveryRowShows<QuillonConfig>("server", kServerTable, kServerTableSize, kServerSamples);
}

TEST(ModelWalk, EveryServerRowThatThePageTriesShowsInItsDescription)
{
    ExpectEveryRowShows<QuillpageConfig>("page's server", kServerTable, kServerTableSize, kServerSamples,
                                         Rows::TriedOnly);
}

// The fields that no line sets, only the constructor from the file's name: each shows too.
TEST(ModelWalk, FieldsSetOnlyAtConstructionShowInTheDescription)
{
    const Htaccess plain(L"C:\\site\\.htaccess");
    const std::string before = DescribeModel(plain);
    Htaccess otherName(L"C:\\site\\.htaccess");
    otherName.fileName = L"C:\\site\\other.conf";
    Htaccess otherFolder(L"C:\\site\\.htaccess");
    otherFolder.fileDirectory = L"C:\\other\\";
    EXPECT_NE(DescribeModel(otherName), before);
    EXPECT_NE(DescribeModel(otherFolder), before);
    EXPECT_NE(DescribeModel(otherName), DescribeModel(otherFolder));
}

// What a walk shows of a model, but for the flags' own text: every flag changes that text, whether
// or not the walk sees the field the flag sets.
class AllButFlagsText {
public:
    std::string shown;

    void Kind(ModelKind kind, const char*) { Add("kind", static_cast<std::int64_t>(kind)); }
    void Number(const char* name, std::int64_t value) { Add(name, value); }
    void Text(const char* name, const std::string& text)
    {
        if (std::string(name) != "flags text")
            shown += std::string(name) + "='" + text + "' ";
    }
    void Text(const char* name, const std::wstring& text) { Add(name, static_cast<std::int64_t>(text.size())); }
    void Expression(const char* name, const boost::regex& regex, const std::string& source)
    {
        shown += std::string(name) + "=" + (regex.empty() ? "none" : source + "/" + std::to_string(regex.flags())) + " ";
    }
    void Flags(std::initializer_list<ModelFlag> flags)
    {
        for (const ModelFlag& flag : flags)
            Add(flag.name, flag.value);
    }
    void Begin(const char* name) { shown += std::string(name) + "{ "; }
    void End() { shown += "} "; }
    bool Differs() const { return false; }

private:
    void Add(const char* name, std::int64_t value) { shown += std::string(name) + "=" + std::to_string(value) + " "; }
};

std::string ShownButFlagsText(const std::string& text)
{
    Htaccess container;
    Parse(container, text);
    AllButFlagsText visitor;
    ModelWalk<AllButFlagsText>(visitor).Container(container);
    return visitor.shown;
}

// One flag of each row of a flag table (or each flag of a condition) on the same line: each shows
// in the walk apart from its text, and as no other flag does.
void ExpectEveryFlagShows(const std::string& line, const std::vector<std::string>& flags)
{
    SCOPED_TRACE(line);
    std::set<std::string> seen = {ShownButFlagsText(line)};
    for (const std::string& flag : flags) {
        const std::string flagged = line + " [" + flag + "]";
        EXPECT_TRUE(seen.insert(ShownButFlagsText(flagged)).second)
            << "the walk misses what this flag sets, or shows it as another: " << flagged;
    }
}

TEST(ModelWalk, EveryFlagShowsApartFromItsText)
{
    // In the order of the rule's flag table; a row added there needs its flag here.
    const std::vector<std::string> ruleFlags = {"R",    "F", "G",  "P",      "L",        "N", "C", "NC", "QSA",
                                                "NE",   "S=2", "CO=n:v", "T=text/a", "LP", "U", "O",  "CL", "CU"};
    ASSERT_EQ(ruleFlags.size(), kRuleFlagTableSize);
    // Else the directory level presets O.
    ExpectEveryFlagShows("RewriteCompatibility2 On\nRewriteRule ^x$ /y", ruleFlags);
    const std::vector<std::string> proxyFlags = {"D", "CR", "FR", "H", "AU"};
    ASSERT_EQ(proxyFlags.size(), kProxyFlagTableSize);
    ExpectEveryFlagShows("RewriteProxy ^/a http://b/", proxyFlags);
    ExpectEveryFlagShows("RewriteCond a b", {"NC", "OR", "O"});
}

// The kinds that a walk reports, and the names of the classes that it does not know.
class KindRecorder {
public:
    std::set<ModelKind> kinds;
    std::set<std::string> unknown;

    void Kind(ModelKind kind, const char* name)
    {
        kinds.insert(kind);
        if (kind == ModelKind::Unknown)
            unknown.insert(name);
    }
    void Number(const char*, std::int64_t) {}
    void Text(const char*, const std::string&) {}
    void Text(const char*, const std::wstring&) {}
    void Expression(const char*, const boost::regex&, const std::string&) {}
    void Flags(std::initializer_list<ModelFlag>) {}
    void Begin(const char*) {}
    void End() {}
    bool Differs() const { return false; }
};

template <class Container>
void RecordKinds(const std::vector<RowSamples>& samples, KindRecorder& recorder)
{
    for (const RowSamples& row : samples) {
        for (const std::string& line : row.lines) {
            Container container;
            Parse(container, std::string(row.setUp) + "\n" + line);
            ModelWalk<KindRecorder>(recorder).Container(container);
        }
    }
}

template <std::size_t N>
void ExpectAllSeen(const ModelClass (&family)[N], const KindRecorder& recorder)
{
    for (const ModelClass& known : family)
        EXPECT_EQ(recorder.kinds.count(known.kind), 1u) << "no sample builds an object of the kind '" << known.name << "'";
}

// Every object the samples build is of a class the walk knows, and every class it knows is among
// them.
TEST(ModelWalk, KnowsTheClassOfEveryObjectTheSamplesBuild)
{
    KindRecorder recorder;
    RecordKinds<Htaccess>(kDirectorySamples, recorder);
    RecordKinds<VirtualHostHtaccess>(kVirtualHostSamples, recorder);
    RecordKinds<QuillonConfig>(kServerSamples, recorder);
    RecordKinds<QuillpageConfig>(kServerSamples, recorder);
    EXPECT_EQ(recorder.unknown, std::set<std::string>());
    ExpectAllSeen(kContainerClasses, recorder);
    ExpectAllSeen(kRuleClasses, recorder);
    ExpectAllSeen(kTestClasses, recorder);
}

}
