#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConverterMessages.h"
#include "ConverterRun.h"
#include "TestData.h"

namespace {

using Orvane::Quillshift::ReadResult;

// Files that answer as told and remember what the converter asked of them.
class FakeFiles final : public Orvane::Quillshift::IConverterFiles {
public:
    ReadResult readResult = ReadResult::Read;
    std::string inputText;
    bool replaceSucceeds = true;

    int reads = 0;
    int replaces = 0;
    std::wstring readInput;
    std::wstring readOutput;
    std::wstring replacedOutput;
    std::string replacedText;

    ReadResult ReadInput(const std::wstring& input, const std::wstring& output, std::string& text) override
    {
        ++reads;
        readInput = input;
        readOutput = output;
        if (readResult == ReadResult::Read)
            text = inputText;
        return readResult;
    }
    bool ReplaceOutput(const std::wstring& output, const std::string& text) override
    {
        ++replaces;
        replacedOutput = output;
        replacedText = text;
        return replaceSucceeds;
    }
};

TEST(ConverterRunTest, UsageWithoutTwoArguments)
{
    for (const std::vector<std::wstring>& arguments :
         {std::vector<std::wstring>{}, std::vector<std::wstring>{L"old.ini"}}) {
        FakeFiles files;
        std::string message;
        EXPECT_EQ(Orvane::Quillshift::RunConverter(arguments, files, message), 0);
        EXPECT_EQ(message, "converter.exe old_syntax_string");
        EXPECT_EQ(files.reads, 0);
        EXPECT_EQ(files.replaces, 0);
    }
}

TEST(ConverterRunTest, ConvertsInputIntoOutput)
{
    FakeFiles files;
    files.inputText = "RewriteRule /a /b\r\n";
    std::string message;
    EXPECT_EQ(Orvane::Quillshift::RunConverter({L"old file.ini", L"new.conf", L"ignored"}, files, message), 0);
    EXPECT_EQ(message, "");
    EXPECT_EQ(files.readInput, L"old file.ini");
    EXPECT_EQ(files.readOutput, L"new.conf");
    EXPECT_EQ(files.replacedOutput, L"new.conf");
    EXPECT_EQ(files.replacedText, QuillshiftTest::Header() + "RewriteRule ^/a$ /b\r\n");
}

// An input that cannot be read leaves the output untouched and is reported with exit code -1.
TEST(ConverterRunTest, ReadFailureNeverTouchesOutput)
{
    struct Case {
        ReadResult result;
        const char* message;
    };
    const Case cases[] = {
        {ReadResult::AccessDenied, "Access Denied"},
        {ReadResult::CannotOpen, "Can't open file"},
        {ReadResult::CannotRead, "Can't read file"},
        {ReadResult::TooLarge, "File too large"},
        {ReadResult::SameFile, "Input and output are the same file"},
    };
    for (const Case& c : cases) {
        FakeFiles files;
        files.readResult = c.result;
        std::string message;
        EXPECT_EQ(Orvane::Quillshift::RunConverter({L"a", L"b"}, files, message), -1) << c.message;
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(files.replaces, 0) << c.message;
    }
}

TEST(ConverterRunTest, WriteFailureIsReported)
{
    FakeFiles files;
    files.replaceSucceeds = false;
    std::string message;
    EXPECT_EQ(Orvane::Quillshift::RunConverter({L"a", L"b"}, files, message), -1);
    EXPECT_EQ(message, "Can't write file");
    EXPECT_EQ(files.replaces, 1);
}

class ThrowingFiles final : public Orvane::Quillshift::IConverterFiles {
public:
    ReadResult ReadInput(const std::wstring&, const std::wstring&, std::string&) override { throw std::bad_alloc(); }
    bool ReplaceOutput(const std::wstring&, const std::string&) override { return true; }
};

TEST(ConverterRunTest, OutOfMemoryIsReported)
{
    ThrowingFiles files;
    std::string message;
    EXPECT_EQ(Orvane::Quillshift::RunConverter({L"a", L"b"}, files, message), -1);
    EXPECT_EQ(message, "Not enough memory");
}

}
