// Real-world per-directory files: every logical line is accepted or reported as a simple reading of
// the language says, apart from a short list of lines whose keyword the language knows but whose
// shape it refuses.
#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "TestSupport/TestFiles.h"

#include "RewriteConfig/Htaccess.h"

using namespace Orvane::Quillon;

namespace {


// The logical lines of a text: cut at line feeds, one carriage return dropped, a final backslash
// joining the next line.
std::vector<std::string> LogicalLines(const std::string& text)
{
    std::vector<std::string> physical;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        physical.push_back(line);
    }
    std::vector<std::string> logical;
    for (std::size_t i = 0; i < physical.size(); ++i) {
        std::string joined = physical[i];
        while (!joined.empty() && joined.back() == '\\' && i + 1 < physical.size()) {
            joined.pop_back();
            joined += physical[++i];
        }
        logical.push_back(joined);
    }
    return logical;
}

// The first word in lower case; for a tag, up to its ">".
std::string FirstWord(const std::string& line)
{
    std::string word;
    for (char c : line) {
        if (c == ' ' || c == '\t' || (c == '>' && !word.empty() && word[0] == '<' && word[1] != '/'))
            break;
        word.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return word;
}

// Words and tags of the per-directory language (the proxy settings only count inside their section,
// which none of these files has).
const std::set<std::string> kDirectoryWords = {
    "rewriteengine", "rewritebase", "rewriterule", "rewritecond", "rewriteheader", "rewriteproxy",
    "rewritemap", "rewriteoptions", "rewritecompatibility2", "redirecthanler", "repeatlimit", "allowoverride",
    "<files", "<filesmatch", "</files>", "</filesmatch>", "<orvane", "</orvane>",
};

bool AcceptedBySimpleReading(const std::string& line)
{
    const std::string trimmed = line.substr(std::min(line.size(), line.find_first_not_of(" \t")));
    return trimmed.empty() || trimmed[0] == '#' || kDirectoryWords.count(FirstWord(trimmed)) != 0;
}

// Lines that the simple reading gets wrong, with the reason the language gives.
struct Exception {
    const char* file;
    int line;
    const char* reason;
};

const Exception kExceptions[] = {
    {"known-keywords-refused.htaccess", 3, "RewriteCond takes two fields and an optional flag list, not three"},
    {"known-keywords-refused.htaccess", 4, "RewriteRule needs a substitution"},
    {"known-keywords-refused.htaccess", 5, "the rule pattern does not compile"},
    {"known-keywords-refused.htaccess", 6, "the condition pattern does not compile"},
    {"known-keywords-refused.htaccess", 7, "NOT is no condition flag"},
    {"known-keywords-refused.htaccess", 8, "RewriteEngine takes On or Off"},
    {"known-keywords-refused.htaccess", 9, "AllowOverride takes one keyword"},
    {"known-keywords-refused.htaccess", 10, "RewriteOptions takes only inherit"},
    {"known-keywords-refused.htaccess", 11, "a Files closing tag with no section open"},
    {"known-keywords-refused.htaccess", 12, "the FilesMatch expression does not compile, so no section opens"},
    {"known-keywords-refused.htaccess", 13, "its section never opened"},
    {"known-keywords-refused.htaccess", 14, "RewriteBase takes one field"},
    {"known-keywords-refused.htaccess", 15, "text after the flag list is no comment"},
};

const char* const kFiles[] = {
    "corpus/codeigniter4.htaccess", "corpus/drupal.htaccess", "corpus/grav.htaccess",
    "corpus/h5bp-dist.htaccess", "corpus/h5bp-test-fixture.htaccess", "corpus/joomla.htaccess",
    "corpus/laravel.htaccess", "corpus/magento2.htaccess", "corpus/nextcloud.htaccess",
    "corpus/opencart.htaccess", "corpus/symfony-apache-pack.htaccess", "corpus/typo3.htaccess",
    "known-keywords-refused.htaccess",
};

std::string FileName(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

std::string EscapeBlanks(std::string line)
{
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == ' ') {
            out += "\\x20";
            ++i;
        } else {
            out += line[i];
        }
    }
    return out;
}

}

TEST(Corpus, EveryLineIsAcceptedOrReportedAsTheLanguageSays)
{
    std::size_t totalLines = 0;
    std::size_t totalReported = 0;
    std::set<std::pair<std::string, int>> exceptionsUsed;
    for (const char* relative : kFiles) {
        const std::string name = FileName(relative);
        const std::string text = TestSupport::ReadWholeFile(std::string(REWRITECONFIG_TEST_DATA) + "/" + relative);
        ASSERT_FALSE(text.empty()) << relative;
        Htaccess h(L"C:\\site\\.htaccess");
        std::string errors;
        h.ParseText(text, errors);

        std::map<int, std::string> reported;
        std::istringstream lines(errors);
        std::string errorLine;
        const std::string head = "Unknown expression on line #";
        while (std::getline(lines, errorLine)) {
            ASSERT_EQ(errorLine.compare(0, head.size(), head), 0) << errorLine;
            ASSERT_EQ(errorLine.back(), '\r');
            const std::size_t colon = errorLine.find(": ", head.size());
            ASSERT_NE(colon, std::string::npos);
            reported[std::stoi(errorLine.substr(head.size(), colon - head.size()))] =
                errorLine.substr(colon + 2, errorLine.size() - colon - 3);
        }

        const std::vector<std::string> logical = LogicalLines(text);
        EXPECT_EQ(h.lineNumber, static_cast<std::int32_t>(logical.size())) << name;
        for (std::size_t i = 0; i < logical.size(); ++i) {
            const int number = static_cast<int>(i + 1);
            bool expectReported = !AcceptedBySimpleReading(logical[i]);
            for (const Exception& exception : kExceptions) {
                if (name == exception.file && number == exception.line) {
                    expectReported = !expectReported;
                    exceptionsUsed.insert(std::make_pair(name, number));
                }
            }
            const auto found = reported.find(number);
            EXPECT_EQ(found != reported.end(), expectReported) << name << ":" << number << ": " << logical[i];
            if (found != reported.end()) {
                std::string expectedText = logical[i];
                expectedText.erase(0, expectedText.find_first_not_of(" \t"));
                expectedText.erase(expectedText.find_last_not_of(" \t") + 1);
                EXPECT_EQ(found->second, EscapeBlanks(expectedText)) << name << ":" << number;
            }
        }
        EXPECT_LE(reported.size(), logical.size());
        totalLines += logical.size();
        totalReported += reported.size();
    }
    EXPECT_EQ(exceptionsUsed.size(), sizeof(kExceptions) / sizeof(kExceptions[0]));
    EXPECT_GT(totalLines, 3000u);
    EXPECT_GT(totalReported, 500u);
}

TEST(Corpus, KeywordFixtureKeepsItsGoodLines)
{
    Htaccess h;
    std::string errors;
    h.ParseText(TestSupport::ReadWholeFile(std::string(REWRITECONFIG_TEST_DATA) + "/known-keywords-refused.htaccess"), errors);
    // The flags glued to the substitution belong to it; the condition goes to the last rule.
    ASSERT_EQ(h.rules.size(), 2u);
    EXPECT_EQ(h.rules[0]->substitution, "/b[L]");
    EXPECT_EQ(h.rules[1]->conditions.size(), 1u);
    EXPECT_EQ(h.rules[1]->last, 1);
}
