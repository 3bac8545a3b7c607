#include <string>

#include <boost/algorithm/string/replace.hpp>
#include <gtest/gtest.h>

#include "OldSyntaxConverter.h"
#include "TestData.h"

namespace {

using QuillshiftTest::Header;
using QuillshiftTest::ReadFixture;

TEST(FixtureTest, ConvertsSiteFile)
{
    EXPECT_EQ(ConvertText(ReadFixture("site.ini")), ReadFixture("site.expected"));
}

// The same file with LF line ends converts to the same lines with the same numbers.
TEST(FixtureTest, LfFileConvertsLikeCrLfFile)
{
    const std::string old = boost::algorithm::replace_all_copy(ReadFixture("site.ini"), "\r\n", "\n");
    EXPECT_EQ(ConvertText(old), ReadFixture("site.expected"));
}

std::string LongRun(std::size_t length)
{
    return std::string(length, 'a');
}

// Lines of a megabyte either convert or are kept whole as a comment; none is cut or lost.
TEST(BigInputTest, MegabyteLines)
{
    const std::string run = LongRun(1u << 20);
    const std::string old = "RewriteRule /" + run + " /b\r\n"
                            + "RewriteCond URL x y z " + run + "\r\n"
                            + "#" + run + "\r\n"
                            + "RewriteCond " + run + " x y z\r\n";
    const std::string expected = Header() + "RewriteRule ^/" + run + "$ /b\r\n"
                                 + "# # Line 1: (Unknown expression)\tRewriteCond URL x y z " + run + "\r\n"
                                 + "# " + run + "\r\n"
                                 + "# # Line 3: (Unknown expression)\tRewriteCond " + run + " x y z\r\n";
    EXPECT_EQ(ConvertText(old), expected);
}

// A configuration of about 100 MB converts completely.
TEST(BigInputTest, HundredMegabytes)
{
    const std::size_t target = 100u << 20;
    const std::string padding(1000, 'p');
    const std::string oldBlock = "RewriteCond URL !/admin/(.*) [NC]\r\n"
                                 "RewriteRule /product/(\\d+)\\.html /item.asp?id=$1&x=$2 [I,L] #" + padding + "\r\n"
                                 "# " + padding + "\r\n";
    const std::string newBlock = "RewriteCond %{REQUEST_URI} !^/admin/(.*)$ [NC]\r\n"
                                 "RewriteRule ^/product/(\\d+)\\.html$ /item.asp?id=%1&x=$1 [NC,L]#" + padding + "\r\n"
                                 "#  " + padding + "\r\n";
    const std::size_t blocks = target / oldBlock.size() + 1;
    std::string old;
    old.reserve(blocks * oldBlock.size());
    for (std::size_t i = 0; i < blocks; ++i)
        old += oldBlock;

    const std::string converted = ConvertText(std::move(old));

    ASSERT_EQ(converted.size(), Header().size() + blocks * newBlock.size());
    ASSERT_EQ(converted.compare(0, Header().size(), Header()), 0);
    for (std::size_t i = 0; i < blocks; ++i) {
        if (converted.compare(Header().size() + i * newBlock.size(), newBlock.size(), newBlock) != 0) {
            FAIL() << "block " << i << " differs";
        }
    }
}

}
