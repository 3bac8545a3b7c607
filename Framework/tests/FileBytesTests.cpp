// Whole files as bytes: every byte read back, a missing file told from a locked one, and a failed
// replacement that keeps the old file.
#include "Framework/FileBytes.h"

#include "Framework/Handles.h"

#include <gtest/gtest.h>

#include "TestSupport/TestFiles.h"

#include <string>

namespace {

using namespace std::string_literals;

class FileBytesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t base[MAX_PATH] = {};
        ASSERT_TRUE(::GetTempPathW(MAX_PATH, base));
        folder_ = std::wstring(base) + L"quillon-bytes-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        file_ = folder_ + L"\\httpd.conf";
    }
    void TearDown() override
    {
        ::DeleteFileW(file_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    std::wstring folder_;
    std::wstring file_;
};

TEST_F(FileBytesTest, ReadsEveryByte)
{
    const std::string bytes = "a\0b\r\x80\xff\nend"s;
    ASSERT_TRUE(TestSupport::WriteWholeFile(file_, bytes));
    std::string read = "old";
    EXPECT_EQ(Framework::ReadFileBytes(file_, read), 0u);
    EXPECT_EQ(read, bytes);
}

TEST_F(FileBytesTest, TellsMissingFromLocked)
{
    std::string read = "old";
    DWORD missing = Framework::ReadFileBytes(file_, read);
    EXPECT_TRUE(Framework::IsMissingFileError(missing)) << missing;
    EXPECT_TRUE(read.empty());
    EXPECT_TRUE(Framework::IsMissingFileError(Framework::ReadFileBytes(folder_ + L"\\no\\such.conf", read)));

    ASSERT_TRUE(TestSupport::WriteWholeFile(file_, "text"));
    Framework::ScopedFile locked(::CreateFileW(file_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locked);
    DWORD error = Framework::ReadFileBytes(file_, read);
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(Framework::IsMissingFileError(error)) << error;
}

TEST_F(FileBytesTest, ReplacesWholeOrNotAtAll)
{
    ASSERT_EQ(Framework::ReplaceFileBytes(file_, "new\0bytes"s), 0u);
    EXPECT_EQ(TestSupport::ReadWholeFile(file_), "new\0bytes"s);

    // A missing folder gets no file.
    EXPECT_NE(Framework::ReplaceFileBytes(folder_ + L"\\no\\such.conf", "x"), 0u);

    // Held open without delete sharing, the file cannot be replaced, and keeps its text.
    Framework::ScopedFile held(::CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_NE(Framework::ReplaceFileBytes(file_, "lost"), 0u);
    held.Reset();
    EXPECT_EQ(TestSupport::ReadWholeFile(file_), "new\0bytes"s);
}

}
