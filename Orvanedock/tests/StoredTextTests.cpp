// Store text read with its length.
#include "StoredText.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Orvane::Orvanedock;

namespace {

std::vector<unsigned char> Bytes(const std::u16string& units, size_t extraBytes = 0)
{
    std::vector<unsigned char> bytes(units.size() * 2 + extraBytes, 0xAB);
    for (size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<unsigned char>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
    }
    return bytes;
}

TEST(StoredText, TextEndsAtTheTerminatorOrTheDataEnd)
{
    struct Case {
        const char* what;
        std::vector<unsigned char> data;
        std::wstring text;
    } cases[] = {
        {"terminated", Bytes(std::u16string(u"D:\\www\0", 7)), L"D:\\www"},
        {"terminated with more after", Bytes(std::u16string(u"ab\0junk", 7)), L"ab"},
        {"no terminator: the data's end", Bytes(u"D:\\www"), L"D:\\www"},
        {"odd trailing byte", Bytes(u"ab", 1), L"ab"},
        {"no data", {}, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.text, TextFromUtf16Data(c.data.empty() ? nullptr : c.data.data(), c.data.size())) << c.what;
}

}
