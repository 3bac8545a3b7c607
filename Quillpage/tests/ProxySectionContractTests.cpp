// The proxy section rewrite against its contract (ReadingCheck.h), on the files that showed where a
// rewrite can change what a file means, and over generated files.
#include "ProxySection.h"
#include "ReadingCheck.h"

#include <RewriteConfig/QuillonConfig.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace Orvane::Quillon;
using Orvane::Quillon::Testing::ExpectRewriteKeepsContract;
using Orvane::Quillon::Testing::ModelText;

// The readable text of a model keeps wide text exactly: texts that differ in one letter beyond
// ASCII (code page 1252 bytes), or in a letter and the text that the readable text writes for it,
// read differently.
TEST(ModelText, TellsWideTextsApart)
{
    const struct {
        const char* a;
        const char* b;
    } pairs[] = {
        {"ErrorLog C:/\xe9.log", "ErrorLog C:/\xe8.log"},
        {"ErrorLog C:/\xe9.log", "ErrorLog C:/\\x{e9}.log"},
        {"RewriteLog C:/\xe9.log", "RewriteLog C:/\xe8.log"},
        {"AccessFileName \xe9.txt", "AccessFileName \xe8.txt"},
        {"RewriteMap m txt:\xe9.txt", "RewriteMap m txt:\xe8.txt"},
    };
    for (const auto& p : pairs) {
        QuillonConfig a;
        QuillonConfig b;
        std::string errors;
        a.ParseText(p.a, errors);
        b.ParseText(p.b, errors);
        EXPECT_EQ(errors, "");
        EXPECT_NE(ModelText(a), ModelText(b)) << p.a << " and " << p.b;
    }
}

class FileMaker {
public:
    explicit FileMaker(unsigned seed) : random_(seed) {}

    // A file of plain lines, whole-language directives, closed Files, Directory, Location and
    // VirtualHost sections and closed Orvane sections, which hold settings, other lines, and such
    // directives and sections too; tags written as people write them. The directives and sections
    // come back with other values, so that their order counts.
    std::string WellFormed()
    {
        std::vector<std::string> lines;
        for (int items = Below(8); items > 0; --items) {
            switch (Below(6)) {
            case 0:
                lines.push_back(Pick(kOpenings));
                for (int n = Below(5); n > 0; --n) {
                    switch (Below(4)) {
                    case 0: lines.push_back(Setting()); break;
                    case 1: lines.push_back(Pick(kInsideLines)); break;
                    case 2: lines.push_back(Pick(kLanguageLines)); break;
                    default: Block(lines); break;
                    }
                }
                lines.push_back(Pick(kClosings));
                break;
            case 1:
            case 2:
                Block(lines);
                break;
            case 3:
                lines.push_back(Pick(kLanguageLines));
                break;
            default:
                lines.push_back(Pick(kPlainLines));
                break;
            }
        }
        return Join(lines);
    }

    // Anything of the above, and tags left open, stray closing tags, final backslashes, lone
    // carriage returns and NUL bytes.
    std::string Wild()
    {
        std::vector<std::string> lines;
        for (int n = Below(12); n > 0; --n) {
            std::string line;
            switch (Below(7)) {
            case 0: line = Pick(kOpenings); break;
            case 1: line = Pick(kClosings); break;
            case 2: line = Setting(); break;
            case 3: line = Pick(kWildLines); break;
            case 4: line = Pick(kInsideLines); break;
            case 5: line = Below(2) ? Pick(kLanguageLines) : Pick(Pick(kBlocks)); break;
            default: line = Pick(kPlainLines); break;
            }
            if (Below(8) == 0)
                line += '\\';
            if (Below(12) == 0)
                line.insert(Below(static_cast<int>(line.size()) + 1), 1, Below(3) ? '\r' : '\0');
            lines.push_back(line);
        }
        return Join(lines);
    }

    ProxySettings Settings()
    {
        static const std::int32_t seconds[] = {0, 1, 30, 60, 90, 2147483};
        ProxySettings settings;
        settings.connectTimeout = seconds[Below(6)] * 1000;
        settings.receiveTimeout = seconds[Below(6)] * 1000;
        settings.sendTimeout = seconds[Below(6)] * 1000;
        settings.suppressErrors = Below(2);
        return settings;
    }

private:
    typedef std::vector<std::string> Lines;

    const Lines kOpenings = {"<Orvane>", "< orvane >", "<ORVANE>  # proxy", "\t<Orvane>"};
    const Lines kClosings = {"</Orvane>", "< /orvane >", "</Orvane> # end", "</ORVANE>\t"};
    const Lines kInsideLines = {"# timeouts", "", "RewriteRule a b", "ProxySendTimeout x", "<Orvane>", "RepeatLimit 3"};
    const Lines kPlainLines = {"RewriteEngine On", "RewriteRule ^a$ /b [L]", "RewriteCond %{HTTP_HOST} x",
                               "# a comment", "# <Orvane> in a comment", "", "  ", "RepeatLimit 5",
                               "AllowOverride None", "ProxySendTimeout 4", "x <Orvane>", "RewriteMap m txt:a.txt",
                               "RewriteMap m txt:b.txt"};
    // Directives of the whole language where the last one counts (the access file names replace
    // the earlier ones).
    const Lines kLanguageLines = {"LogLevel debug", "LogLevel warn", "AccessFileName httpd.ini",
                                  "AccessFileName .htaccess", "ErrorLog C:/e1.log", "ErrorLog C:/e2.log",
                                  "RewriteLog C:/r1.log", "RewriteLog C:/r2.log", "RewriteLogLevel 3",
                                  "RewriteLogLevel 5", "NotifyOrder = LOW", "NotifyOrder = MEDIUM"};
    // Sections with one rule each; the same names come back, so the order of the sections counts,
    // and for virtual hosts which of them is first.
    const std::vector<Lines> kBlocks = {
        {"<Files a>", "RewriteRule ^x$ /files1", "</Files>"},
        {"<Files a>", "RewriteRule ^x$ /files2", "</Files>"},
        {"<FilesMatch ^b>", "RewriteRule ^x$ /match1", "</FilesMatch>"},
        {"<FilesMatch ^b>", "RewriteRule ^x$ /match2", "</FilesMatch>"},
        {"<Directory C:/a>", "RewriteRule ^x$ /dir1", "</Directory>"},
        {"<Directory C:/a>", "RewriteRule ^x$ /dir2", "</Directory>"},
        {"<DirectoryMatch ^C:/b>", "RewriteRule ^x$ /dirmatch", "</DirectoryMatch>"},
        {"<Location /a>", "RewriteRule ^x$ /loc1", "</Location>"},
        {"<Location /a>", "RewriteRule ^x$ /loc2", "</Location>"},
        {"<VirtualHost a:80>", "RewriteRule ^x$ /host1", "</VirtualHost>"},
        {"<VirtualHost a:80 b>", "RewriteRule ^x$ /host2", "</VirtualHost>"},
    };
    const Lines kWildLines = {"<Files b>", "</Files>", "<VirtualHost *>", "</VirtualHost>", "<Directory C:/x>",
                              "</Directory>", "<DirectoryMatch a>", "</DirectoryMatch>", "<Orv\\", "ane>"};

    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    template <class T>
    const T& Pick(const std::vector<T>& from)
    {
        return from[Below(static_cast<int>(from.size()))];
    }

    void Block(Lines& lines)
    {
        const Lines& block = Pick(kBlocks);
        lines.insert(lines.end(), block.begin(), block.end());
    }

    std::string Setting()
    {
        static const char* const names[] = {"ProxyConnectTimeout ", "ProxyReceiveTimeout ", "ProxySendTimeout "};
        if (Below(4) == 0)
            return Below(2) ? "ProxySuppressErrors Off" : "ProxySuppressErrors on";
        return names[Below(3)] + std::to_string(Below(200));
    }

    std::string Join(const Lines& lines)
    {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            text += lines[i];
            if (i + 1 < lines.size() || Below(2))
                text += Below(2) ? "\r\n" : "\n";
        }
        return text;
    }

    std::mt19937 random_;
};

ProxySettings Connect90()
{
    ProxySettings settings;
    settings.connectTimeout = 90000;
    return settings;
}

using namespace std::string_literals;

struct MeaningCase {
    const char* name;
    std::string text;
};

class ProxySectionMeaningTest : public ::testing::TestWithParam<MeaningCase> {};

// Lines of a section that the readers keep something of (a Files or Directory section, a directive
// of the whole language) read in their order with the lines around the section; a move would put a
// later one first, or the one the last counts of first.
TEST_P(ProxySectionMeaningTest, RewrittenFilesReadAsBeforeButForTheSettings)
{
    const std::string& before = GetParam().text;
    const std::optional<std::string> after = ReplaceProxySection(before, Connect90());
    ASSERT_TRUE(after);
    SCOPED_TRACE(before + "\n----\n" + *after);
    ExpectRewriteKeepsContract(before, *after, Connect90());
}

INSTANTIATE_TEST_SUITE_P(Files, ProxySectionMeaningTest, ::testing::Values(
    MeaningCase{"FilesSectionsInOrder",
                "<Orvane>\r\n<Files a>\r\nRewriteRule ^x$ /in\r\n</Files>\r\n</Orvane>\r\n"
                "<Files a>\r\nRewriteRule ^x$ /out\r\n</Files>\r\n"},
    MeaningCase{"FilesMatchSectionsInOrder",
                "<Orvane>\r\nProxySendTimeout 5\r\n<FilesMatch ^a>\r\nRewriteRule ^x$ /in\r\n</FilesMatch>\r\n"
                "</Orvane>\r\n<FilesMatch ^a>\r\nRewriteRule ^x$ /out\r\n</FilesMatch>\r\n"},
    MeaningCase{"LastLogLevelCounts", "<Orvane>\r\nLogLevel debug\r\n</Orvane>\r\nLogLevel warn\r\n"},
    MeaningCase{"LastAccessFileNameCounts",
                "<Orvane>\r\nAccessFileName httpd.ini\r\n</Orvane>\r\nAccessFileName .htaccess\r\n"},
    MeaningCase{"LastLogsCount",
                "<Orvane>\r\nErrorLog C:/a.log\r\nRewriteLog C:/a.log\r\nRewriteLogLevel 3\r\n</Orvane>\r\n"
                "ErrorLog C:/b.log\r\nRewriteLog C:/b.log\r\nRewriteLogLevel 5\r\n"},
    MeaningCase{"FirstVirtualHostKeepsTheName",
                "<Orvane>\r\n<VirtualHost a>\r\nRewriteRule ^x$ /in\r\n</VirtualHost>\r\n</Orvane>\r\n"
                "<VirtualHost a>\r\nRewriteRule ^x$ /out\r\n</VirtualHost>\r\n"},
    MeaningCase{"DirectoryAndLocationSectionsInOrder",
                "<Orvane>\r\n<Directory C:/a>\r\nRewriteRule ^x$ /in\r\n</Directory>\r\n<Location /a>\r\n"
                "RewriteRule ^y$ /in\r\n</Location>\r\n</Orvane>\r\n<Directory C:/a>\r\nRewriteRule ^x$ /out\r\n"
                "</Directory>\r\n<Location /a>\r\nRewriteRule ^y$ /out\r\n</Location>\r\n"},
    // Behind a NUL byte the end is not read, so the new section goes to the beginning, in front of
    // the name that comes first.
    MeaningCase{"AtTheBeginningBeforeAnEarlierName",
                "AccessFileName a.txt\r\n<Orvane>\r\nAccessFileName b.txt\r\n</Orvane>\r\n\0tail"s},
    MeaningCase{"SectionsAroundMeaningfulLines",
                "<Orvane>\r\n# slow\r\nProxySendTimeout 5\r\n</Orvane>\r\nLogLevel info\r\n"
                "<Orvane> # more\r\nLogLevel debug\r\nProxyReceiveTimeout 7\r\n</Orvane>\r\nLogLevel warn\r\n"
                "<Orvane>\r\n</Orvane>"}),
    [](const ::testing::TestParamInfo<MeaningCase>& info) { return std::string(info.param.name); });

struct ExactCase {
    const char* name;
    std::string text;
    std::string rewritten;  // with Connect90(), or the defaults where defaults is set
    bool defaults;
};

class ProxySectionExactTest : public ::testing::TestWithParam<ExactCase> {};

TEST_P(ProxySectionExactTest, WritesTheSectionWhereTheParserReadsIt)
{
    const ExactCase& c = GetParam();
    const ProxySettings settings = c.defaults ? ProxySettings() : Connect90();
    const std::optional<std::string> after = ReplaceProxySection(c.text, settings);
    ASSERT_TRUE(after);
    EXPECT_EQ(*after, c.rewritten);
    ExpectRewriteKeepsContract(c.text, *after, settings);
}

INSTANTIATE_TEST_SUITE_P(Files, ProxySectionExactTest, ::testing::Values(
    // A kept line is written as the parser reads it: the backslash that ends the text is dropped,
    // and it no longer joins the closing tag to the line.
    ExactCase{"CommentInsideEndsInABackslash", "<Orvane>\r\nProxySendTimeout 5\r\n# note\\",
              "<Orvane>\r\nProxyConnectTimeout 90\r\n# note\r\n</Orvane>", false},
    ExactCase{"ClosingCommentEndsInABackslash", "<Orvane>\r\nProxySendTimeout 5\r\n</Orvane> # note\\",
              "<Orvane>\r\nProxyConnectTimeout 90\r\n# note\r\n</Orvane>", false},
    ExactCase{"OpeningCommentEndsInABackslash", "<Orvane> # note\\",
              "<Orvane>\r\nProxyConnectTimeout 90\r\n# note\r\n</Orvane>", false},
    // Of two final backslashes the parser drops one; the other ends the kept line, where a blank
    // after it keeps it from joining the closing tag to the line.
    ExactCase{"CommentInsideEndsInTwoBackslashes", "<Orvane>\r\n# c\\\\",
              "<Orvane>\r\nProxyConnectTimeout 90\r\n# c\\ \r\n</Orvane>", false},
    ExactCase{"OpeningCommentEndsInTwoBackslashes", "<Orvane> # c\\\\",
              "<Orvane>\r\nProxyConnectTimeout 90\r\n# c\\ \r\n</Orvane>", false},
    ExactCase{"ClosingCommentEndsInTwoBackslashes", "<Orvane>\r\n</Orvane> # c\\\\",
              "<Orvane>\r\nProxyConnectTimeout 90\r\n# c\\ \r\n</Orvane>", false},
    // A line that a backslash joins to the last one keeps its final backslash.
    ExactCase{"JoinedCommentEndsInABackslash", "<Orvane>\r\n# a\\\r\nb\\",
              "<Orvane>\r\nProxyConnectTimeout 90\r\n# a\\\r\nb\\ \r\n</Orvane>", false},
    // With the defaults too the section stands in front of a NUL byte, where it is read; the bytes
    // from the NUL byte on stay as they are.
    ExactCase{"DefaultsInFrontOfANulByte", "RewriteEngine On\r\n\0tail"s,
              "<Orvane>\r\n</Orvane>\r\nRewriteEngine On\r\n\0tail"s, true},
    ExactCase{"DefaultsInFrontOfANulByteOnce", "<Orvane>\r\n</Orvane>\r\nRewriteEngine On\r\n\0tail"s,
              "<Orvane>\r\n</Orvane>\r\n\r\nRewriteEngine On\r\n\0tail"s, true},
    // A section that holds a Files section stays where it is, without its settings.
    ExactCase{"SectionWithAFilesSectionStays",
              "<Orvane>\r\nProxySendTimeout 5\r\n<Files a>\r\nRewriteRule ^x$ /in\r\n</Files>\r\n</Orvane>\r\nB\r\n",
              "<Orvane>\r\n<Files a>\r\nRewriteRule ^x$ /in\r\n</Files>\r\n</Orvane>\r\nB\r\n\r\n"
              "<Orvane>\r\nProxyConnectTimeout 90\r\n</Orvane>",
              false}),
    [](const ::testing::TestParamInfo<ExactCase>& info) { return std::string(info.param.name); });

// The rewrite of a file of many sections takes a few times one parse of it (about five), not a time
// that grows with the square of its tags. Best of three of each, so that a busy machine counts in
// both.
TEST(ProxySectionContract, ManySectionsTakeAFewParses)
{
    std::string text;
    for (int i = 0; i < 60000; ++i)
        text += "<Orvane>\r\nProxyConnectTimeout " + std::to_string(i) + "\r\n</Orvane>\r\n";
    auto best = [&text](auto work) {
        auto fastest = std::chrono::steady_clock::duration::max();
        for (int run = 0; run < 3; ++run) {
            const auto start = std::chrono::steady_clock::now();
            work(text);
            fastest = std::min(fastest, std::chrono::steady_clock::now() - start);
        }
        return std::chrono::duration<double>(fastest).count();
    };
    const double parse = best([](const std::string& t) {
        Htaccess parsed;
        std::string errors;
        parsed.ParseText(t, errors);
    });
    std::optional<std::string> rewritten;
    const double rewrite =
        best([&rewritten](const std::string& t) { rewritten = ReplaceProxySection(t, Connect90()); });
    ASSERT_TRUE(rewritten);
    EXPECT_LT(rewrite, 10 * parse) << "rewrite " << rewrite << " s, parse " << parse << " s";
}

TEST(ProxySectionContract, WellFormedFilesAreAlwaysRewrittenAndKeepTheirReading)
{
    FileMaker maker(20261211);
    for (int n = 0; n < 3000; ++n) {
        const std::string before = maker.WellFormed();
        const ProxySettings settings = maker.Settings();
        const std::optional<std::string> after = ReplaceProxySection(before, settings);
        ASSERT_TRUE(after) << before;
        SCOPED_TRACE(before + "\n----\n" + *after);
        ExpectRewriteKeepsContract(before, *after, settings);
        if (HasFailure())
            return;
    }
}

TEST(ProxySectionContract, AnyFileIsEitherLeftAloneOrRewrittenWithinTheContract)
{
    FileMaker maker(7);
    int rewritten = 0;
    const int files = 3000;
    for (int n = 0; n < files; ++n) {
        const std::string before = maker.Wild();
        const ProxySettings settings = maker.Settings();
        const std::optional<std::string> after = ReplaceProxySection(before, settings);
        if (!after)
            continue;
        ++rewritten;
        SCOPED_TRACE(before + "\n----\n" + *after);
        ExpectRewriteKeepsContract(before, *after, settings);
        if (HasFailure())
            return;
    }
    // Most files are rewritten: refusing is for the files whose sections no placement can keep.
    EXPECT_GT(rewritten, files * 8 / 10);
}

}
