// The directive expressions: which one a line matches first, their groups, and the cheap checks and
// the linear matcher against the library's own whole-line match.
#include <algorithm>
#include <iterator>
#include <sstream>

#include <gtest/gtest.h>

#include "TestSupport/TestFiles.h"

#include "DirectiveTables.h"
#include "LinearMatcher.h"
#include "RandomText.h"
#include "RewriteConfig/Htaccess.h"
#include "RewriteConfig/LineMatcher.h"
#include "RewriteConfig/RuleLine.h"
#include "SafeRegex.h"
#include "SharedExpressions.h"

using namespace Orvane::Quillon::Detail;

namespace {

// The expressions of a table in order, without the rows that take every line: the numbering of the
// language's expressions.
template <typename Container>
std::vector<const LineExpression*> ExpressionsOf(const DirectiveRow<Container>* rows, std::size_t count)
{
    std::vector<const LineExpression*> expressions;
    for (std::size_t i = 0; i < count; ++i)
        if (rows[i].expression.text != nullptr)
            expressions.push_back(&rows[i].expression);
    return expressions;
}

// Numbers as the language counts them: 1 to 24 directory level, 25 to 34 virtual host, then the
// server level from 100.
struct Table {
    std::vector<const LineExpression*> expressions;
    int firstNumber;
};

// Built on first use: the tables of the library are built before main, in an order of their own.
const std::vector<Table>& Tables()
{
    static const std::vector<Table> tables = {
        {ExpressionsOf(kDirectoryTable, kDirectoryTableSize), 1},
        {ExpressionsOf(kVirtualHostTable, kVirtualHostTableSize), 25},
        {ExpressionsOf(kServerTable, kServerTableSize), 100},
    };
    return tables;
}

// The number of the first expression, in table order, that matches the whole line; 0 for none.
int FirstMatch(const std::string& line, std::vector<std::string>& groups)
{
    for (const Table& table : Tables()) {
        for (std::size_t i = 0; i < table.expressions.size(); ++i) {
            Captures what;
            if (table.expressions[i]->Match(LineText(line), what)) {
                groups.clear();
                for (std::size_t g = 1; g < what.size(); ++g)
                    groups.push_back(what[g].matched ? what[g].str() : std::string("<unmatched>"));
                return table.firstNumber + static_cast<int>(i);
            }
        }
    }
    return 0;
}

typedef std::vector<std::string> Groups;

// The library's own regex_split: the reference for the flag list splitter.
std::vector<std::string> SplitWithExpression(const std::string& text, const boost::regex& separator)
{
    std::vector<std::string> pieces;
    std::string rest = text;
    boost::regex_split(std::back_inserter(pieces), rest, separator);
    return pieces;
}

// The library's own whole-line match: the reference for the matcher. A text too complex for it
// counts as not matching.
bool LibraryMatch(const std::string& line, boost::smatch& what, const boost::regex& expression)
{
    try {
        return boost::regex_match(line, what, expression);
    } catch (const std::exception&) {
        return false;
    }
}

// Each expression of a table compiled by the library, in table order.
std::vector<boost::regex> LibraryExpressions(const Table& table)
{
    std::vector<boost::regex> compiled;
    for (std::size_t i = 0; i < table.expressions.size(); ++i)
        compiled.emplace_back(table.expressions[i]->text, kNoCase);
    return compiled;
}

}

TEST(DirectiveTable, ExpressionTextsAndOrder)
{
    const std::vector<const LineExpression*>& directory = Tables()[0].expressions;
    ASSERT_EQ(directory.size(), 24u);
    ASSERT_EQ(Tables()[1].expressions.size(), 10u);
    ASSERT_EQ(Tables()[2].expressions.size(), 7u);
    EXPECT_STREQ(directory[18]->text, "\\s*RewriteCond\\s+(\\S+)\\s*(\\S+)\\s*(\\[[^\\]]+\\])?\\s*(#.*)?");
    EXPECT_STREQ(directory[19]->text, "\\s*RewriteRule\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?");
    EXPECT_STREQ(Tables()[1].expressions[4]->text, "<\\s*(?:LocationMatch|Location\\s~)\\s+([^>]+)\\s*>\\s*(?:#.*)?");
    EXPECT_STREQ(Tables()[2].expressions[0]->text, "<\\s*VirtualHost\\s+([^>]+)\\s*>\\s*(?:#.*)?");
}

TEST(DirectiveTable, FirstMatchAndGroups)
{
    const struct {
        const char* line;
        int number;
        Groups groups;
    } cases[] = {
        {"rewriteengine ON", 15, {"ON"}},
        {"  RewriteEngine On  # x", 15, {"On"}},
        {"RewriteEngine", 0, {}},
        {"RewriteEngine maybe", 0, {}},
        {"RewriteEngineOn", 0, {}},
        {"RewriteBase/app", 18, {"/app"}},
        {"RewriteBaseline", 18, {"line"}},
        {"RewriteBase", 18, {""}},
        {"RewriteOptions inherit", 16, {"inherit"}},
        {"RewriteOptions", 0, {}},
        {"RewriteOptions all", 0, {}},
        {"RewriteCond abc", 19, {"ab", "c", "<unmatched>", "<unmatched>"}},
        {"RewriteCond a b c", 0, {}},
        {"RewriteCond %{REMOTE_ADDR} ^10 [NC,OR]", 19, {"%{REMOTE_ADDR}", "^10", "[NC,OR]", "<unmatched>"}},
        {"RewriteCond a b [NC] # why", 19, {"a", "b", "[NC]", "# why"}},
        {"RewriteRule ^a$ /b [L,R=301]", 20, {"^a$", "/b", "L,R=301", "<unmatched>"}},
        {"RewriteRule ^a$ /b[L]", 20, {"^a$", "/b[L]", "<unmatched>", "<unmatched>"}},
        {"RewriteRule ^a$", 0, {}},
        {"RewriteRule a b [L] #c", 20, {"a", "b", "L", "#c"}},
        {"RewriteHeader X a b [NC]", 21, {"X", "a", "b", "NC", "<unmatched>"}},
        {"RewriteProxy ^/a http://b/ [D]", 22, {"^/a", "http://b/", "D", "<unmatched>"}},
        {"RewriteMap m txt : /x # c", 17, {"m", "txt ", "/x "}},
        {"RewriteMap m txt:/x", 17, {"m", "txt", "/x"}},
        {"RewriteLog C:\\log.txt # old", 32, {"C:\\log.txt # old"}},
        {"RewriteLogLevel 3", 33, {"3"}},
        {"AccessFileName  #x", 34, {" "}},
        {"<Location ~ ^/a>", 29, {"^/a"}},
        {"<Location  ~ ^/a>", 30, {"~ ^/a"}},
        {"<Location /a >", 30, {"/a "}},
        {"</Files>", 5, {"Files"}},
        {"</FilesMatch> # x", 5, {"FilesMatch"}},
        {"<Files ~ \\.gif$>", 3, {"\\.gif$"}},
        {"<Files\t~\t\\.gif$>", 3, {"\\.gif$"}},
        {"<FilesMatch \\.php$>", 3, {"\\.php$"}},
        {"<Files *.gif>", 4, {"*.gif"}},
        {"< Orvane >", 7, {}},
        {"</ Orvane>", 0, {}},
        {"< /Orvane >", 8, {}},
        {"<Directory ~ ^/a>", 25, {"^/a"}},
        {"<DirectoryMatch ^/a>", 25, {"^/a"}},
        {"<Directory /a>", 26, {"/a"}},
        {"</Directory>", 27, {}},
        {"</DirectoryMatch>", 28, {"DirectoryMatch"}},
        {"</Location>", 31, {"Location"}},
        {"ProxyConnectTimeout 90", 9, {"90"}},
        {"ProxySuppressErrors OFF", 12, {"OFF"}},
        {"RepeatLimit 5 # x", 13, {"5"}},
        {"AllowOverride authconfig", 14, {"authconfig"}},
        {"RewriteCompatibility2 off", 23, {"off"}},
        {"RedirectHanler Internal", 24, {"Internal"}},
        {"#", 2, {""}},
        {"  # c", 2, {" c"}},
        {" \t ", 1, {}},
        {"<VirtualHost alpha:80 beta:* >", 100, {"alpha:80 beta:* "}},
        {"</VirtualHost>", 101, {}},
        {"NotifyOrder = LOW", 102, {}},
        {"NotifyOrder=medium", 103, {}},
        {"NotifyOrder MEDIUM", 0, {}},
        {"ErrorLog e.log # c", 105, {"e.log # c"}},
        {"LogLevel DEBUG", 106, {"DEBUG"}},
        {"LogLevel verbose", 0, {}},
    };
    for (const auto& c : cases) {
        Groups groups;
        EXPECT_EQ(FirstMatch(c.line, groups), c.number) << c.line;
        if (c.number != 0) {
            EXPECT_EQ(groups, c.groups) << c.line;
        }
    }
}

TEST(DirectiveTable, EveryExpressionHasALinearMatcher)
{
    for (const Table& table : Tables())
        for (std::size_t i = 0; i < table.expressions.size(); ++i)
            EXPECT_TRUE(table.expressions[i]->linear.Usable()) << table.expressions[i]->text;
}

// The cheap check looks for the keyword right after the leading white space (or after "<" and white
// space) only where the expression's form guarantees it; any other form keeps the search anywhere.
TEST(DirectiveTable, KeywordPlaceFollowsTheExpressionForm)
{
    for (const Table& table : Tables()) {
        for (std::size_t i = 0; i < table.expressions.size(); ++i) {
            const LineExpression& expression = *table.expressions[i];
            const bool tag = expression.text[0] == '<';
            const LineExpression::KeywordPlace expected =
                expression.keyword == nullptr ? LineExpression::Blank
                                              : tag ? LineExpression::AfterTagOpen : LineExpression::AfterSpaces;
            EXPECT_EQ(expression.place, expected) << expression.text;
        }
    }
    for (const LineExpression* flag : {&kRedirectFlag, &kSkipFlag, &kCookieFlag, &kTypeFlag})
        EXPECT_EQ(flag->place, LineExpression::AfterSpaces) << flag->text;

    const struct {
        const char* expression;
        const char* keyword;
        LineExpression::KeywordPlace place;
    } cases[] = {
        {"\\s*Ab\\s+x", "ab", LineExpression::AfterSpaces},
        {"\\s*(?:Ab|abc)x", "ab", LineExpression::AfterSpaces},
        {"\\s*a(B|b\\s+[|)]|bb)", "ab", LineExpression::AfterSpaces},
        {"<\\s*/Ab", "/ab", LineExpression::AfterTagOpen},
        {"\\s*ab|cd", "ab", LineExpression::Anywhere},
        {"\\s*ab?", "ab", LineExpression::Anywhere},
        {"\\s*a*b", "ab", LineExpression::Anywhere},
        {"\\s*a{1}b", "ab", LineExpression::Anywhere},
        {"\\s*(?:ab|c)", "ab", LineExpression::Anywhere},
        {"\\s*(?:ab|ab)?", "ab", LineExpression::Anywhere},
        {"\\s*(?=ab)ab", "ab", LineExpression::Anywhere},
        {"\\s*\\x41b", "ab", LineExpression::Anywhere},
        {"\\s*[a]b", "ab", LineExpression::Anywhere},
        {"x\\s*ab", "ab", LineExpression::Anywhere},
        {"\\s*?ab", "ab", LineExpression::Anywhere},
        {"<\\s*ab", "", LineExpression::Anywhere},
    };
    for (const auto& c : cases) {
        const LineExpression expression(c.expression, c.keyword);
        EXPECT_EQ(expression.place, c.place) << c.expression;
        // The cheap check never refuses a line that the expression matches.
        const boost::regex library(c.expression, kNoCase);
        for (const char* line : {"ab", " AB x", "abx", "\tab  x", "<ab", "< /ab", "abb", "aB", "cd", "abcx", "abbb",
                                 "a", "b", "<\t/aBbb[|)]", " abb\t[|)]", "ab\x0b"}) {
            boost::smatch what;
            if (LibraryMatch(line, what, library)) {
                const std::string text(line);
                EXPECT_TRUE(expression.CanMatch(LineText(text))) << c.expression << " on: " << line;
            }
        }
    }
}

// The walk that never goes back against the library's groups, on expressions with alternatives of
// different lengths and nested repeats.
TEST(LinearMatcher, GuidedWalkGivesTheLibrarysGroups)
{
    const char* const expressions[] = {"(a|ab)(c|bcd)(d*)", "(a*)(a*)b?", "((a)|b)+", "(\\s*)(\\S+)\\s*(x)?",
                                       "(?:a|b)*c(a+)?", "(a+|b+)*(b)", "([^b]*)(b+)(.*)", "(a|b|ab)(ba|a)?(b*)",
                                       "x?(x?)(x+)", "((ab)|a)(b?)(c|bc)?"};
    const char alphabet[] = {'a', 'b', 'c', 'd', 'x', ' '};
    std::vector<std::string> texts = {""};
    RandomText random(77);
    for (int n = 0; n < 4000; ++n)
        texts.push_back(random.Join(alphabet, 0, 8));
    for (const char* expression : expressions) {
        const LinearMatcher linear(expression, kNoCase);
        const boost::regex regex(expression, kNoCase);
        ASSERT_TRUE(linear.Usable()) << expression;
        std::size_t matched = 0;
        for (const std::string& text : texts) {
            boost::smatch what;
            const bool whole = boost::regex_match(text, what, regex);
            Captures walked;
            ASSERT_EQ(linear.MatchGroups(text, walked), whole) << expression << " on: " << text;
            if (!whole)
                continue;
            ++matched;
            ASSERT_EQ(walked.size(), what.size()) << expression;
            for (std::size_t g = 0; g < what.size(); ++g) {
                ASSERT_EQ(walked[g].matched, what[static_cast<int>(g)].matched) << expression << " group " << g << " on: " << text;
                ASSERT_EQ(walked[g].str(), what[static_cast<int>(g)].str()) << expression << " group " << g << " on: " << text;
            }
        }
        EXPECT_GT(matched, 10u) << expression;
    }
}

// More groups than the groups keep room for in place, and the same groups reused for a smaller match.
TEST(LinearMatcher, ManyGroupsAndReusedGroups)
{
    const char* const expression = "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)?(l*)";
    const LinearMatcher linear(expression, kNoCase);
    const boost::regex regex(expression, kNoCase);
    ASSERT_TRUE(linear.Usable());
    Captures walked;
    for (const std::string text : {"abcdefghij", "ABCDEFGHIJKLL", "abcdefghijl", "abcdefghi"}) {
        boost::smatch what;
        const bool whole = boost::regex_match(text, what, regex);
        ASSERT_EQ(linear.MatchGroups(text, walked), whole) << text;
        if (!whole)
            continue;
        ASSERT_EQ(walked.size(), what.size()) << text;
        for (std::size_t g = 0; g < what.size(); ++g) {
            EXPECT_EQ(walked[g].matched, what[static_cast<int>(g)].matched) << text << " group " << g;
            EXPECT_EQ(walked[g].str(), what[static_cast<int>(g)].str()) << text << " group " << g;
        }
    }
    const LinearMatcher small("(x)(y)?", kNoCase);
    const std::string line = "x";
    ASSERT_TRUE(small.MatchGroups(line, walked));
    ASSERT_EQ(walked.size(), 3u);
    EXPECT_EQ(walked[1].str(), "x");
    EXPECT_FALSE(walked[2].matched);
    EXPECT_FALSE(walked[3].matched);
}

TEST(LinearMatcher, RefusesSyntaxItDoesNotKnow)
{
    // A repeat of something that can match nothing could loop without reading.
    for (const char* expression : {"a{2}", "^a", "a$", "(?=a)", "\\bx", "\\1", "a*?", "[[:alpha:]]", "(a?)*b", "(?:a|)+b"}) {
        const LinearMatcher linear(expression, kNoCase);
        EXPECT_FALSE(linear.Usable()) << expression;
        Captures none;
        EXPECT_FALSE(linear.MatchGroups("a", none)) << expression;
    }
    EXPECT_TRUE(LinearMatcher("(a|b)*c?[^x]+\\s\\S\\d.\\:", kNoCase).Usable());
}

namespace {

// Lines for the cross-checks of the tables: edge cases, every corpus line (also trimmed, cut and in
// capitals), long lines, and random mixes of the language's pieces.
const std::vector<std::string>& CrossCheckLines()
{
    static const std::vector<std::string> all = [] {
        std::vector<std::string> lines = {
            "", " ", "\t", "\r", "\x0b", "\x0c", "\n", std::string(1, '\0'), "\xA0", "\x85", "#", "x",
            "RewriteCond a b c", "rEwRiTeCoNd a b", "REWRITECOND\ta\tb\t[nc]", "RewriteRule a b [L] # c",
            "RewriteRule a b [L", "RewriteRule a b [] ", "RewriteRule a\nb", "RewriteRule a \x0b b",
            "RewriteRule a b\r", "<Files\r~ x>", "<Files>", "<Files >", "<Files a>>", "<Files a> #",
            "<Files a> x", "<Location\t~ x>", "<Location \t~ x>", "</ Files>", "< / Files >", "</Filesmatch>",
            "RewriteMap a b:c", "RewriteMap a b c:d", "RewriteMap a :c", "RewriteMap a b:#", "RewriteMap a b:c#d",
            "RewriteBase", "RewriteBase ", "RewriteBase a b", "RewriteBase#", "RewriteLog ", "RewriteLog #",
            "AccessFileName #", "AccessFileName a b # c", "NotifyOrder=\tLoW", "LogLevel  crit ",
            "ErrorLog \"a b\"", "<VirtualHost >", "<VirtualHost a>#", "<Orvane>#", "<Orvane >x",
            std::string("RewriteRule a\0 b", 16), "RewriteRule \xE9 \xFF", "RedirectHanler  EXTERNAL",
            "ProxySendTimeout 00", "ProxySendTimeout 1 2", "RepeatLimit 1x", "AllowOverride All None",
        };
        // Every logical line of the corpus, and each line cut and with its case changed.
        for (const char* name : {"drupal", "h5bp-dist", "joomla", "magento2", "nextcloud", "typo3"}) {
            std::istringstream text(
                TestSupport::ReadWholeFile(std::string(REWRITECONFIG_TEST_DATA) + "/corpus/" + name + ".htaccess"));
            std::string line;
            while (std::getline(text, line)) {
                lines.push_back(line);
                TrimSpace(line);
                lines.push_back(line);
                lines.push_back(line.substr(0, line.size() / 2));
                std::string upper = line;
                for (char& c : upper)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                lines.push_back(upper);
            }
        }
        // Lines longer than a few thousand characters take the same walk.
        const std::string longWord(5000, 'a');
        const std::string longBlanks(5000, ' ');
        for (const std::string& line : {"RewriteRule " + longWord + " b [L] # c", "RewriteCond a" + longBlanks + "b [NC]",
                                        "<Files " + longWord + longBlanks + ">", "RewriteMap m t" + longBlanks + ":x",
                                        "RewriteRule a b [" + longWord + "] #" + longBlanks})
            lines.push_back(line);
        // Random mixes of the languages's own pieces.
        const char* const pieces[] = {"Rewrite", "Rule", "Cond", " ", "\t", "[", "]", "#", "<", ">", "/", "Files",
                                      "Match", "~", ":", "=", "a", "1", "Directory", "Location", "On", ",", "\\",
                                      "VirtualHost", "Log", "Level", "Base", "Map", "!", "%{", "}", "Orvane"};
        RandomText random(12345);
        for (int n = 0; n < 20000; ++n)
            lines.push_back(random.Join(pieces, 1, 9));
        return lines;
    }();
    return all;
}

}

// The cheap keyword check and the linear matcher may only skip lines that the library's whole-line
// match refuses, and the linear matcher must agree with it on every line, groups included.
TEST(DirectiveTable, CheapChecksAgreeWithTheWholeLineMatch)
{
    const std::vector<std::string>& lines = CrossCheckLines();
    std::vector<std::vector<boost::regex>> library;
    for (const Table& table : Tables())
        library.push_back(LibraryExpressions(table));
    std::size_t matched = 0;
    for (const std::string& line : lines) {
        const LineText text(line);
        for (std::size_t t = 0; t < Tables().size(); ++t) {
            const Table& table = Tables()[t];
            for (std::size_t i = 0; i < table.expressions.size(); ++i) {
                const LineExpression& expression = *table.expressions[i];
                boost::smatch what;
                const bool whole = LibraryMatch(line, what, library[t][i]);
                if (!expression.CanMatch(text)) {
                    ASSERT_FALSE(whole) << expression.text << " on: " << line;
                }
                Captures walked;
                ASSERT_EQ(expression.linear.MatchGroups(line, walked), whole) << expression.text << " on: " << line;
                Captures quick;
                ASSERT_EQ(expression.Match(text, quick), whole) << expression.text << " on: " << line;
                if (whole) {
                    // The groups are those of the library's backtracking match.
                    ASSERT_EQ(quick.size(), what.size()) << expression.text;
                    for (std::size_t g = 0; g < what.size(); ++g) {
                        ASSERT_EQ(quick[g].matched, what[static_cast<int>(g)].matched)
                            << expression.text << " group " << g << " on: " << line;
                        ASSERT_EQ(quick[g].str(), what[static_cast<int>(g)].str())
                            << expression.text << " group " << g << " on: " << line;
                    }
                    ++matched;
                }
            }
        }
    }
    EXPECT_GT(matched, 1000u);
}

namespace {

// The rows that the index offers for the line: in table order, none twice, and every row whose cheap
// check passes among them.
template <typename Container>
void ExpectIndexCovers(const DirectiveRow<Container>* rows, std::size_t count, const RowIndex& index,
                       const std::string& line)
{
    const LineText text(line);
    std::vector<std::size_t> offered;
    for (const std::uint8_t* at = index.RowsFor(text); *at != RowIndex::kEnd; ++at) {
        ASSERT_LT(*at, count) << line;
        ASSERT_TRUE(offered.empty() || offered.back() < *at) << line;
        offered.push_back(*at);
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (rows[i].expression.CanMatch(text)) {
            ASSERT_NE(std::find(offered.begin(), offered.end(), i), offered.end())
                << "row " << i << " left out for: " << line;
        }
    }
}

}

TEST(DirectiveTable, RowIndexOffersEveryRowThatCanMatch)
{
    std::vector<std::string> lines = CrossCheckLines();
    for (const char* line : {"\x20rewriterule", "\x20<files a>", "R", "r", "<", "<\t/files>", " <files a>"})
        lines.push_back(line);
    for (int byte = 0; byte < 256; ++byte)
        lines.push_back(std::string(1, static_cast<char>(byte)) + "ewriteRule a b");
    for (const std::string& line : lines) {
        ExpectIndexCovers(kDirectoryTable, kDirectoryTableSize, kDirectoryIndex, line);
        ExpectIndexCovers(kVirtualHostTable, kVirtualHostTableSize, kVirtualHostIndex, line);
        ExpectIndexCovers(kServerTable, kServerTableSize, kServerIndex, line);
    }
}

TEST(LinearMatcher, SearchAgreesWithTheLibrary)
{
    const char* const expressions[] = {"\\$\\{", "\\%\\{\\s*HTTP\\:([^}]+)\\}", "\\%\\{\\s*([^}]+)\\s*\\}",
                                       "\\s*,\\s*"};
    const char* const texts[] = {"", "${", "$", "%{HTTP:Host}", "%{ http:a}", "%{HTTP:}", "%{HTTP:}x}", "%{}",
                                 "%{ }", "%{a", "x%{a}y", "%{%{}}", "%{\n}", "a , b", ",", " ", "%{HTTP :a}"};
    for (const char* expression : expressions) {
        const LinearMatcher linear(expression, kNoCase, LinearMatcher::Use::Search);
        const boost::regex regex(expression, kNoCase);
        ASSERT_TRUE(linear.Usable()) << expression;
        for (const char* text : texts)
            EXPECT_EQ(linear.FoundIn(text), boost::regex_search(std::string(text), regex)) << expression << " in " << text;
    }
    // ScanReferences looks for "${" as a plain text.
    const boost::regex dollarBrace(expressions[0], kNoCase);
    for (const char* text : texts)
        EXPECT_EQ(std::string(text).find("${") != std::string::npos, boost::regex_search(std::string(text), dollarBrace)) << text;
}

// The three reference marks of a text are what the library's search for each expression says.
TEST(ScanReferences, AgreesWithTheLibrarysSearch)
{
    const boost::regex dollarBrace("\\$\\{", kNoCase);
    const boost::regex httpHeader("\\%\\{\\s*HTTP\\:([^}]+)\\}", kNoCase);
    const boost::regex percentBrace("\\%\\{\\s*([^}]+)\\s*\\}", kNoCase);
    const char* const pieces[] = {"$", "{", "%", "}", "%{", "${", "http:", "HTtp:", "HTTP", " ", "\t", "x", "\n", ":",
                                  "}}", "%{ HTTP:"};
    std::vector<std::string> texts = {"", "{", "${", "%{", "{x}", "%{x}", "$%{x}", "%${x}", "%{HTTP:a}", "%{ http:}"};
    RandomText random(4242);
    for (int n = 0; n < 20000; ++n)
        texts.push_back(random.Join(pieces, 0, 8));
    std::size_t found[3] = {};
    for (const std::string& text : texts) {
        unsigned char dollar = 7, http = 7, percent = 7;
        ScanReferences(text, dollar, http, percent);
        const bool expected[3] = {boost::regex_search(text, dollarBrace), boost::regex_search(text, httpHeader),
                                  boost::regex_search(text, percentBrace)};
        ASSERT_EQ(dollar, expected[0] ? 1 : 0) << text;
        ASSERT_EQ(http, expected[1] ? 1 : 0) << text;
        ASSERT_EQ(percent, expected[2] ? 1 : 0) << text;
        for (int e = 0; e < 3; ++e)
            found[e] += expected[e] ? 1 : 0;
    }
    for (std::size_t count : found)
        EXPECT_GT(count, 100u);
}

// The driver and the flag parsers find the separators directly; the pieces must be those that the
// separator expressions give.
TEST(DirectiveTable, SeparatorsFoundDirectlyAgreeWithTheExpressions)
{
    const char alphabet[] = {'a', ' ', '\t', ',', '\r', '\n', '\\', '\v', 'x', ','};
    const boost::regex flagSeparator(kFlagSeparator, kNoCase);
    const boost::regex lineSeparator(kLineSeparator, kNoCase);
    RandomText random(99);
    std::size_t split = 0;
    for (int n = 0; n < 20000; ++n) {
        const std::string text = random.Join(alphabet, 0, 11);
        const std::vector<std::string> expected = SplitWithExpression(text, flagSeparator);
        split += expected.size() > 1 ? 1 : 0;
        std::vector<std::string> found;
        ForEachFlagPiece(text, [&found](std::string piece) {
            found.push_back(piece);
            return true;
        });
        ASSERT_EQ(found, expected) << text;

        // Physical lines: the pieces around every separator match; none after a final separator.
        std::vector<std::string> lines;
        std::string::const_iterator rest = text.cbegin();
        for (boost::sregex_iterator it(text.cbegin(), text.cend(), lineSeparator), end; it != end; ++it) {
            lines.emplace_back(rest, (*it)[0].first);
            rest = (*it)[0].second;
        }
        if (rest != text.cend())
            lines.emplace_back(rest, text.cend());
        struct Recorder : Orvane::Quillon::Htaccess {
            std::vector<std::string> offered;
            bool ParseLine(const std::string& line) override
            {
                offered.push_back(line);
                return true;
            }
        } recorder;
        std::string errors;
        const std::string noContinuation = text.find('\\') == std::string::npos ? text : std::string();
        recorder.ParseText(noContinuation, errors);
        if (!noContinuation.empty()) {
            std::vector<std::string> trimmed = lines;
            for (std::string& line : trimmed)
                TrimSpace(line);
            ASSERT_EQ(recorder.offered, trimmed) << text;
        }
    }
    // The texts are not all trivial: many lists split into several pieces.
    EXPECT_GT(split, 1000u);
}

TEST(DirectiveTable, FlagExpressionsAgreeWithTheLibrary)
{
    const LineExpression* const flags[] = {&kRedirectFlag, &kSkipFlag, &kCookieFlag, &kTypeFlag};
    const char* const pieces[] = {"r", "redirect", "=", " ", "3", "4", "0", "9", "s", "skip", "co", "cookie",
                                  ":", "a", ".", "/", "t", "type", "x", "1"};
    std::vector<std::string> lines = {"r", "r=301", "redirect = 404", "r=500", "s=3", "skip=x", "co=id:42::30",
                                      "co=a:b:30", "co=n:v:.e.com:10:/p", "t=text/html", "type=", "t= x "};
    RandomText random(5);
    for (int n = 0; n < 20000; ++n)
        lines.push_back(random.Join(pieces, 1, 8));
    std::size_t matched = 0;
    for (const LineExpression* expression : flags) {
        ASSERT_TRUE(expression->linear.Usable()) << expression->text;
        const boost::regex library(expression->text, kNoCase);
        for (const std::string& line : lines) {
            boost::smatch what;
            const bool whole = LibraryMatch(line, what, library);
            Captures quick;
            ASSERT_EQ(expression->Match(LineText(line), quick), whole) << expression->text << " on: " << line;
            if (!whole)
                continue;
            ++matched;
            for (std::size_t g = 0; g < what.size(); ++g) {
                ASSERT_EQ(quick[g].matched, what[static_cast<int>(g)].matched) << expression->text << " on: " << line;
                ASSERT_EQ(quick[g].str(), what[static_cast<int>(g)].str()) << expression->text << " on: " << line;
            }
        }
    }
    EXPECT_GT(matched, 100u);
}

// The exported RewriteRule line matcher: the directory table's row, and its form with an optional
// substitution, both where the library's whole-line match puts the parts.
TEST(RuleLine, BothFormsAgreeWithTheLibrary)
{
    const struct {
        Orvane::Quillon::RuleLineForm form;
        const char* expression;
    } forms[] = {
        {Orvane::Quillon::RuleLineForm::Directive, "\\s*RewriteRule\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?"},
        {Orvane::Quillon::RuleLineForm::SubstitutionOptional,
         "\\s*RewriteRule\\s+(\\S+)\\s+(\\S+)?\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?"},
    };
    EXPECT_STREQ(RuleLineExpression().text, forms[0].expression);
    const char* const lines[] = {"RewriteRule ^/a$ /b [L,R=301]", "  rewriterule !x y", "RewriteRule ^/a$  ",
                                 "RewriteRule ^/a$", "RewriteRule a b[L]", "RewriteRule a b [L] # c",
                                 "RewriteRule\ta\tb\t[NC]", "RewriteRule a b c", "RewriteCond a b",
                                 "RewriteRule a  [L]", "RewriteRuleX a b", ""};
    std::size_t matched = 0;
    for (const auto& f : forms) {
        const boost::regex library(f.expression, kNoCase);
        for (const char* text : lines) {
            const std::string line(text);
            boost::smatch what;
            const bool whole = LibraryMatch(line, what, library);
            Orvane::Quillon::RuleLinePlaces places;
            ASSERT_EQ(Orvane::Quillon::MatchRewriteRuleLine(line, f.form, places), whole) << line;
            if (!whole)
                continue;
            ++matched;
            const Orvane::Quillon::LinePart* parts[] = {&places.pattern, &places.substitution, &places.flags};
            for (int g = 1; g <= 3; ++g) {
                EXPECT_EQ(parts[g - 1]->matched, what[g].matched) << line << " group " << g;
                EXPECT_EQ(parts[g - 1]->In(line), what.str(g)) << line << " group " << g;
                if (what[g].matched) {
                    EXPECT_EQ(parts[g - 1]->begin, static_cast<std::size_t>(what.position(g))) << line << " group " << g;
                }
            }
        }
    }
    EXPECT_GT(matched, 8u);
}

// The public whole-line matcher: the library's groups as places in the line; outside the supported
// syntax it matches nothing.
TEST(WholeLineMatcher, GroupsAsPlacesAndNothingOutsideItsSyntax)
{
    const Orvane::Quillon::WholeLineMatcher matcher("\\s*Key\\s+(\\S+)(?:\\s+(\\d+))?\\s*");
    ASSERT_TRUE(matcher.Usable());
    std::vector<Orvane::Quillon::LinePart> groups;
    const std::string line = "  key  value 42 ";
    ASSERT_TRUE(matcher.Match(line, groups));
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].In(line), line);
    EXPECT_EQ(groups[1].In(line), "value");
    EXPECT_EQ(groups[1].begin, 7u);
    EXPECT_EQ(groups[2].In(line), "42");
    const std::string shorter = "KEY v";
    ASSERT_TRUE(matcher.Match(shorter, groups));
    EXPECT_FALSE(groups[2].matched);
    EXPECT_FALSE(matcher.Match("key", groups));

    const Orvane::Quillon::WholeLineMatcher counted("a{2}");
    EXPECT_FALSE(counted.Usable());
    EXPECT_FALSE(counted.Match("aa", groups));
}
