// Whole-file replacement: success keeps the new text and attributes, every failure keeps the
// old file whole and leaves no temporary file behind.
#include "Framework/FileReplace.h"

#include "Framework/Handles.h"

#include <gtest/gtest.h>

#include "TestSupport/TestFiles.h"

#include <string>

using Framework::FileReplacement;
using Framework::ScopedFile;

namespace {

class FileReplaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t base[MAX_PATH] = {};
        ASSERT_TRUE(::GetTempPathW(MAX_PATH, base));
        folder_ = std::wstring(base) + L"quillon-replace-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        target_ = folder_ + L"\\httpd.conf";
    }
    void TearDown() override
    {
        ::SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(target_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    static void WriteAll(const std::wstring& path, const std::string& text)
    {
        ASSERT_TRUE(TestSupport::WriteWholeFile(path, text));
    }
    static std::string ReadAll(const std::wstring& path)
    {
        std::string text;
        return TestSupport::TryReadWholeFile(path, text) ? text : "<missing>";
    }
    int FilesInFolder() const
    {
        WIN32_FIND_DATAW data{};
        Framework::ScopedFind find(::FindFirstFileW((folder_ + L"\\*").c_str(), &data));
        int count = 0;
        if (!find)
            return 0;
        do {
            if (data.cFileName[0] != L'.')
                ++count;
        } while (::FindNextFileW(find.Get(), &data));
        return count;
    }
    static void Put(HANDLE file, const std::string& text)
    {
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    }

    std::wstring folder_;
    std::wstring target_;
};

TEST_F(FileReplaceTest, ReplacesExistingFileWithAttributes)
{
    WriteAll(target_, "old text\r\n");
    FileReplacement replacement;
    ASSERT_EQ(replacement.Begin(target_, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE), 0u);
    Put(replacement.Handle(), "new text\r\n");
    EXPECT_EQ(ReadAll(target_), "old text\r\n");
    ASSERT_EQ(replacement.Commit(), 0u);
    EXPECT_EQ(ReadAll(target_), "new text\r\n");
    DWORD attributes = ::GetFileAttributesW(target_.c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(FileReplaceTest, CreatesMissingFile)
{
    FileReplacement replacement;
    ASSERT_EQ(replacement.Begin(target_, FILE_ATTRIBUTE_ARCHIVE), 0u);
    Put(replacement.Handle(), "first");
    ASSERT_EQ(replacement.Commit(), 0u);
    EXPECT_EQ(ReadAll(target_), "first");
}

TEST_F(FileReplaceTest, AbandonedWriteKeepsOldFile)
{
    WriteAll(target_, "keep me");
    {
        FileReplacement replacement;
        ASSERT_EQ(replacement.Begin(target_, FILE_ATTRIBUTE_ARCHIVE), 0u);
        Put(replacement.Handle(), "half");
        EXPECT_EQ(FilesInFolder(), 2);
    }
    EXPECT_EQ(ReadAll(target_), "keep me");
    EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(FileReplaceTest, LockedTargetFailsAndStaysWhole)
{
    WriteAll(target_, "locked text");
    ScopedFile holder(::CreateFileW(target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    FileReplacement replacement;
    ASSERT_EQ(replacement.Begin(target_, FILE_ATTRIBUTE_ARCHIVE), 0u);
    Put(replacement.Handle(), "new");
    EXPECT_NE(replacement.Commit(), 0u);
    holder.Reset();
    EXPECT_EQ(ReadAll(target_), "locked text");
    EXPECT_EQ(FilesInFolder(), 1);
}

TEST_F(FileReplaceTest, MissingFolderFailsAtBegin)
{
    FileReplacement replacement;
    EXPECT_EQ(replacement.Begin(folder_ + L"\\missing\\httpd.conf", FILE_ATTRIBUTE_ARCHIVE),
              static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(replacement.Commit(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(FileReplaceTest, ReplaceWholeFileWritesEveryByteOrKeepsTheOldFile)
{
    const std::string bytes("<Orvane>\r\n\0kept</Orvane>", 25);
    ASSERT_EQ(Framework::ReplaceWholeFile(target_, FILE_ATTRIBUTE_HIDDEN, bytes), 0u);
    EXPECT_EQ(ReadAll(target_), bytes);
    EXPECT_TRUE(::GetFileAttributesW(target_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    {
        ScopedFile holder(::CreateFileW(target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                        nullptr));
        ASSERT_TRUE(holder);
        EXPECT_NE(Framework::ReplaceWholeFile(target_, FILE_ATTRIBUTE_NORMAL, "new"), 0u);
    }
    EXPECT_EQ(ReadAll(target_), bytes);
    EXPECT_EQ(FilesInFolder(), 1);
    EXPECT_EQ(Framework::ReplaceWholeFile(folder_ + L"\\missing\\httpd.conf", FILE_ATTRIBUTE_NORMAL, "x"),
              static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

// A pipe that does not wait takes only what fits into its buffer: a short write.
TEST(WriteAllBytes, AShortWriteIsAFailure)
{
    const std::wstring name = L"\\\\.\\pipe\\framework-write-" + std::to_wstring(::GetCurrentProcessId());
    ScopedFile pipe(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1, 1024, 1024,
                                       0, nullptr));
    ASSERT_TRUE(pipe);
    ScopedFile reader(::CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_EQ(Framework::WriteAllBytes(pipe.Get(), "small"), 0u);
    EXPECT_NE(Framework::WriteAllBytes(pipe.Get(), std::string(256 * 1024, 'x')), 0u);
}

}
