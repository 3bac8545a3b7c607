// Any text at all parses: binary bytes, zero bytes, very long lines, many lines, deep patterns, and
// several threads at once.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <gtest/gtest.h>

#include "RandomText.h"
#include "RewriteConfig/RewriteConfig.h"

using namespace Orvane::Quillon;

namespace {

std::string Repeat(const std::string& piece, std::size_t count)
{
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

// Every error line has the driver's form, and the line numbers rise.
void ExpectWellFormedErrors(const std::string& errors, std::int32_t lastLine)
{
    const std::string head = "Unknown expression on line #";
    std::size_t at = 0;
    long previous = 0;
    while (at < errors.size()) {
        ASSERT_EQ(errors.compare(at, head.size(), head), 0);
        const long number = std::strtol(errors.c_str() + at + head.size(), nullptr, 10);
        EXPECT_GT(number, previous);
        EXPECT_LE(number, lastLine);
        previous = number;
        const std::size_t end = errors.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        at = end + 2;
    }
}

}

TEST(Robustness, BinaryBytes)
{
    std::string text;
    RandomText random(1);
    for (int i = 0; i < (1 << 20); ++i)
        text.push_back(static_cast<char>(random.Below(256)));
    QuillonConfig config;
    std::string errors;
    config.ParseText(text, errors);
    EXPECT_GT(config.lineNumber, 1000);
    ExpectWellFormedErrors(errors, config.lineNumber);
}

TEST(Robustness, ZeroBytes)
{
    QuillonConfig config;
    std::string errors;
    const std::string text("RewriteEngine Off\0x\nRewriteRule a\0 b\n\0\n", 39);
    config.ParseText(text, errors);
    EXPECT_EQ(errors, std::string("Unknown expression on line #1: RewriteEngine Off\0x\r\n"
                                  "Unknown expression on line #3: \0\r\n", 52 + 34));
    EXPECT_EQ(config.rewriteEngine, 1);
    ASSERT_EQ(config.rules.size(), 1u);
    EXPECT_EQ(config.rules[0]->pattern, std::string("a\0", 2));
}

TEST(Robustness, MegabyteLines)
{
    const std::string big(1 << 20, 'a');
    const std::string blanks(1 << 20, ' ');
    QuillonConfig config;
    std::string errors;
    // Lines that do not match and make a backtracking matcher work on every split of a long run.
    const std::string refused[] = {
        "RewriteCond " + big + " b c",
        "RewriteRule a b" + blanks + "c",
        "<Files a" + blanks + ">x",
        "RewriteMap m a" + blanks + "b",
        "<VirtualHost " + blanks + "a>b",
        "RewriteHeader a b c" + blanks + "d",
        "RewriteRule " + big,
    };
    std::string text;
    for (const std::string& line : refused)
        text += line + "\n";
    text += "RewriteRule ^" + big + " /x [L]\n";
    text += "RewriteRule ^a " + Repeat("%{HTTP:", 150000) + "\n";
    text += "RewriteRule ^b b [" + Repeat("x,", 300000) + "]\n";
    text += "ErrorLog " + big + "\n";
    // Long lines that match are taken on the first try.
    text += "RewriteCond " + big + blanks + big + " [NC]\n";
    text += "RewriteRule " + big + blanks + "/x" + blanks + "[L]" + blanks + "# c\n";
    text += "<Files " + big + blanks + ">\n</Files>\n";
    config.ParseText(text, errors);
    std::string expected;
    for (std::size_t i = 0; i < sizeof(refused) / sizeof(refused[0]); ++i)
        expected += "Unknown expression on line #" + std::to_string(i + 1) + ": " + refused[i] + "\r\n";
    EXPECT_TRUE(errors == expected) << errors.size() << " bytes of errors, expected " << expected.size();
    ASSERT_EQ(config.rules.size(), 4u);
    EXPECT_EQ(config.rules[3]->conditions.size(), 1u);
    EXPECT_EQ(config.rules[3]->last, 1);
    EXPECT_EQ(config.filesSections.size(), 1u);
    EXPECT_EQ(config.rules[0]->pattern.size(), big.size() + 1);
    EXPECT_EQ(config.rules[0]->last, 1);
    EXPECT_EQ(config.rules[1]->hasHttpHeaderReference, 0);
    EXPECT_EQ(config.rules[1]->hasPercentBraceReference, 0);
    EXPECT_EQ(config.errorLog.size(), big.size());
}

TEST(Robustness, HundredThousandContinuationLines)
{
    const std::string text = "RewriteRule ^a\\\n" + Repeat("b\\\n", 100000) + " /x\nRewriteBase /y\n";
    Htaccess h;
    std::string errors;
    h.ParseText(text, errors);
    EXPECT_EQ(errors, "");
    EXPECT_EQ(h.lineNumber, 2);
    ASSERT_EQ(h.rules.size(), 1u);
    EXPECT_EQ(h.rules[0]->pattern.size(), 100002u);
    EXPECT_EQ(h.rewriteBase, "/y");
}

TEST(Robustness, MillionLines)
{
    std::string text = Repeat("# c\n\nRewriteEngine Off\n\t\n", 250000);
    text += "Bad\n";
    Htaccess h;
    std::string errors;
    h.ParseText(text, errors);
    EXPECT_EQ(h.lineNumber, 1000001);
    EXPECT_EQ(errors, "Unknown expression on line #1000001: Bad\r\n");
}

TEST(Robustness, DeeplyNestedPatternsAreRefused)
{
    const std::string deep = std::string(20000, '(') + "a" + std::string(20000, ')');
    Htaccess h;
    std::string errors;
    h.ParseText("RewriteRule " + deep + " /x\nRewriteCond %{A} " + deep + "\n<FilesMatch " + deep + ">\n", errors);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 3);
    EXPECT_TRUE(h.rules.empty());
    EXPECT_FALSE(h.openFilesSection);
}

TEST(Robustness, EightThreadsParseAtOnce)
{
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "<VirtualHost host" + std::to_string(i % 7) + ":80>\n";
        text += "RewriteCond %{HTTP_HOST} ^www\\.(.+)$ [NC,OR]\n";
        text += "RewriteCond %{REQUEST_FILENAME} !-f\n";
        text += "RewriteRule ^/item/([0-9]+)$ /show.php?id=$1 [L,QSA,R=301]\n";
        text += "AccessFileName .a" + std::to_string(i) + " .b\n";
        text += "Unknown line " + std::to_string(i) + "\n";
        text += "</VirtualHost>\n<Location /x" + std::to_string(i) + ">\nRewriteRule a b [CO=n:v:d:5]\n</Location>\n";
    }
    QuillonConfig reference;
    std::string referenceErrors;
    reference.ParseText(text, referenceErrors);
    ASSERT_FALSE(referenceErrors.empty());

    std::vector<std::string> errors(8);
    std::vector<int> changed(8, 0);
    std::vector<std::size_t> locations(8);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 5; ++round) {
                QuillonConfig config;
                std::string found;
                config.ParseText(text, found);
                if (round == 0)
                    errors[static_cast<std::size_t>(t)] = found;
                else if (found != errors[static_cast<std::size_t>(t)])
                    changed[static_cast<std::size_t>(t)] = 1;
                locations[static_cast<std::size_t>(t)] = config.locationSections.size();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < 8; ++t) {
        EXPECT_EQ(errors[static_cast<std::size_t>(t)], referenceErrors);
        EXPECT_EQ(changed[static_cast<std::size_t>(t)], 0);
        EXPECT_EQ(locations[static_cast<std::size_t>(t)], reference.locationSections.size());
    }
    EXPECT_EQ(reference.locationSections.size(), 300u);
    EXPECT_EQ(reference.virtualHosts.size(), 7u);
}
