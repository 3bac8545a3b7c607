#include "TestData.h"

#include "TestSupport/TestFiles.h"

namespace QuillshiftTest {

std::string ReadFixture(const std::string& name)
{
    return TestSupport::ReadWholeFile(std::string(QUILLSHIFT_TEST_DATA) + "/" + name);
}

std::string Header()
{
    return "RewriteEngine On\r\nRewriteCompatibility2 On\r\nRepeatLimit 200\r\nRewriteBase \r\n";
}

std::string CrLfLines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

}
