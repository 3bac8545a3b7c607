// Whole-file reading and writing on real files and folders, with the sharing, the NUL handling and
// the size limit of each reader.
#include "FileText.h"

#include <Framework/FileRead.h>
#include <Framework/Handles.h>
#include <RewriteConfig/Platform.h>
#include <TestSupport/SiteFiles.h>
#include <TestSupport/TestFiles.h>

#include <gtest/gtest.h>

#include <string>

using namespace Orvane::Quillon;
using TestSupport::SiteFiles;

namespace {

class FileTextTest : public ::testing::Test {
protected:
    std::wstring Path(const std::wstring& name) const { return files_.Base() + L"\\" + name; }
    std::wstring Write(const std::wstring& name, const std::string& bytes) const
    {
        const std::wstring path = Path(name);
        EXPECT_TRUE(TestSupport::WriteWholeFile(path, bytes));
        return path;
    }
    // The names in the folder, to see that no temporary file stays behind.
    size_t EntryCount() const
    {
        size_t count = 0;
        WIN32_FIND_DATAW entry{};
        Framework::ScopedFind search(::FindFirstFileW((files_.Base() + L"\\*").c_str(), &entry));
        if (search) {
            do {
                const std::wstring name = entry.cFileName;
                if (name != L"." && name != L"..")
                    ++count;
            } while (::FindNextFileW(search.Get(), &entry));
        }
        return count;
    }

    SiteFiles files_{L"quillpage-files"};
};

TEST_F(FileTextTest, ReadersEndTheTextAtANulByteAndTheRewriterKeepsEveryByte)
{
    for (const TestSupport::NulByteCase& c : TestSupport::NulByteCases()) {
        const std::wstring path = Write(L"text.conf", c.bytes);
        std::string text = "left over";
        EXPECT_EQ(ReadWholeFile(path, text), FileReadResult::Read) << c.what;
        EXPECT_EQ(text, c.text) << c.what;
        std::wstring wide = L"left over";
        EXPECT_EQ(ReadWholeFile(path, wide), FileReadResult::Read) << c.what;
        EXPECT_EQ(wide, Orvane::Quillon::Platform::AnsiToWide(c.text)) << c.what;
        std::string bytes;
        EXPECT_EQ(ReadWholeFileBytes(path, bytes), FileReadResult::Read) << c.what;
        EXPECT_EQ(bytes, c.bytes) << c.what;
    }
}

TEST_F(FileTextTest, MissingIsEmptyButUnreadableIsReportedAsSuch)
{
    ASSERT_TRUE(files_.Folders({L"a folder"}));
    const struct {
        const char* what;
        std::wstring path;
        FileReadResult result;
    } cases[] = {
        {"missing file", Path(L"none.conf"), FileReadResult::Missing},
        {"missing folder on the way", Path(L"no folder\\none.conf"), FileReadResult::Missing},
        {"a folder", Path(L"a folder"), FileReadResult::Unreadable},
    };
    for (const auto& c : cases) {
        std::string text = "left over";
        EXPECT_EQ(ReadWholeFile(c.path, text), c.result) << c.what;
        EXPECT_EQ(text, "") << c.what;
        std::wstring wide = L"left over";
        EXPECT_EQ(ReadWholeFile(c.path, wide), c.result) << c.what;
        EXPECT_EQ(wide, L"") << c.what;
        EXPECT_EQ(ReadWholeFileBytes(c.path, text), c.result) << c.what;
    }
}

// The page's watcher asks whether the page's read would get in before it lets the page read: the
// answer must be the read's own, also for a holder that only a reader sharing delete passes.
TEST_F(FileTextTest, TheProbeOpensAsThePageReads)
{
    const std::wstring path = Write(L"held.conf", "RewriteEngine On\n");
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const struct {
        const char* what;
        DWORD access;
        DWORD share;
        FileReadResult read;
    } holders[] = {
        {"held for delete", DELETE, kShareAll, FileReadResult::Unreadable},
        {"held for writing and delete", GENERIC_WRITE | DELETE, kShareAll, FileReadResult::Unreadable},
        {"held without sharing", GENERIC_WRITE, 0, FileReadResult::Unreadable},
        {"held for writing, shared", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, FileReadResult::Read},
        {"held for reading, shared with readers", GENERIC_READ, FILE_SHARE_READ, FileReadResult::Read},
    };
    for (const auto& h : holders) {
        Framework::ScopedFile holder(
            ::CreateFileW(path.c_str(), h.access, h.share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder) << h.what << ": " << ::GetLastError();
        std::string text;
        EXPECT_EQ(ReadWholeFile(path, text), h.read) << h.what;
        const DWORD probe = TryOpenForWholeFileRead(path);
        EXPECT_EQ(probe == 0, h.read == FileReadResult::Read) << h.what << ": " << probe;
        if (h.read != FileReadResult::Read) {
            EXPECT_EQ(probe, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << h.what;
        }
    }
    EXPECT_EQ(TryOpenForWholeFileRead(path), 0u);
    EXPECT_TRUE(Framework::IsMissingFileError(TryOpenForWholeFileRead(Path(L"none.conf"))));
}

// A size whose low 32 bits are small: reading only those would show a few bytes as the whole file.
TEST_F(FileTextTest, AFileBeyondFourGigabytesIsUnreadableNotShort)
{
    const std::wstring path = Path(L"huge.conf");
    ASSERT_TRUE(TestSupport::CreateSparseFile(path, 0x100000005ull));
    std::string text = "left over";
    EXPECT_EQ(ReadWholeFile(path, text), FileReadResult::Unreadable);
    EXPECT_EQ(text, "");
    ::DeleteFileW(path.c_str());
}

TEST_F(FileTextTest, WriteReplacesWholeAndHidden)
{
    const std::string content("<Orvane>\r\n\0kept</Orvane>", 25);
    const std::wstring path = Path(L"written.conf");
    ASSERT_TRUE(WriteWholeFile(path, content));
    EXPECT_EQ(TestSupport::ReadWholeFile(path), content);
    EXPECT_TRUE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);

    // Over the hidden file it wrote: replaced, still hidden.
    ASSERT_TRUE(WriteWholeFile(path, "short"));
    EXPECT_EQ(TestSupport::ReadWholeFile(path), "short");
    EXPECT_TRUE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(WriteWholeFile(path, ""));
    EXPECT_EQ(TestSupport::ReadWholeFile(path), "");
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileTextTest, AFailedWriteLeavesTheOldFile)
{
    const std::wstring path = Write(L"kept.conf", "old text");
    {
        // Held without delete sharing: the file cannot be replaced.
        Framework::ScopedFile holder(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(WriteWholeFile(path, "new text"));
    }
    EXPECT_EQ(TestSupport::ReadWholeFile(path), "old text");
    EXPECT_FALSE(WriteWholeFile(Path(L"no folder\\x.conf"), "text"));
    EXPECT_EQ(EntryCount(), 1u);
}

}
