// Whole-file reading and writing on real files, pipes and folders.
#include "FileText.h"

#include <Framework/Handles.h>
#include <RewriteConfig/Platform.h>
#include <TestSupport/SiteFiles.h>
#include <TestSupport/TestFiles.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

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
    const struct {
        const char* what;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"plain", "RewriteEngine On\r\n", "RewriteEngine On\r\n"},
        {"a NUL byte inside", std::string("first\0second", 12), "first"},
        {"a NUL byte first", std::string("\0rest", 5), ""},
        {"empty", "", ""},
        {"8-bit text", "caf\xE9\n", "caf\xE9\n"},
    };
    for (const auto& c : cases) {
        const std::wstring path = Write(L"text.conf", c.bytes);
        std::string text = "left over";
        EXPECT_TRUE(ReadFileText(path, text)) << c.what;
        EXPECT_EQ(text, c.text) << c.what;
        text = "left over";
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
        EXPECT_FALSE(ReadFileText(c.path, text)) << c.what;
    }
}

TEST_F(FileTextTest, AFileOpenForWritingElsewhereIsShownButNotParsed)
{
    const std::wstring path = Write(L"busy.conf", "RewriteEngine On\n");
    Framework::ScopedFile writer(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    std::string text;
    EXPECT_FALSE(ReadFileText(path, text));
    EXPECT_EQ(ReadWholeFile(path, text), FileReadResult::Read);
    EXPECT_EQ(text, "RewriteEngine On\n");
    writer.Reset();
    EXPECT_TRUE(ReadFileText(path, text));
}

// A size whose low 32 bits are small: reading only those would show a few bytes as the whole file.
TEST_F(FileTextTest, AFileBeyondFourGigabytesIsUnreadableNotShort)
{
    const std::wstring path = Path(L"huge.conf");
    {
        Framework::ScopedFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD unused = 0;
        ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
        LARGE_INTEGER end{};
        end.QuadPart = 0x100000005LL;
        ASSERT_TRUE(::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file.Get()));
    }
    std::string text = "left over";
    EXPECT_FALSE(ReadFileText(path, text));
    EXPECT_EQ(ReadWholeFile(path, text), FileReadResult::Unreadable);
    EXPECT_EQ(text, "");
    ::DeleteFileW(path.c_str());
}

// A pipe hands its data over in pieces: the first short read is not the end, for any reader.
TEST_F(FileTextTest, ReadsToTheTrueEndAfterAShortRead)
{
    const struct {
        const char* what;
        std::function<bool(const std::wstring&, std::string&)> read;
    } readers[] = {
        {"parser's reader", [](const std::wstring& path, std::string& text) { return ReadFileText(path, text); }},
        {"page's reader",
         [](const std::wstring& path, std::string& text) { return ReadWholeFile(path, text) == FileReadResult::Read; }},
        {"page's wide reader",
         [](const std::wstring& path, std::string& text) {
             std::wstring wide;
             const bool read = ReadWholeFile(path, wide) == FileReadResult::Read;
             text = Orvane::Quillon::Platform::WideToAnsi(wide);
             return read;
         }},
        {"rewriter's reader",
         [](const std::wstring& path, std::string& text) {
             return ReadWholeFileBytes(path, text) == FileReadResult::Read;
         }},
    };
    int round = 0;
    for (const auto& reader : readers) {
        const std::wstring name = L"\\\\.\\pipe\\quillpage-read-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++round);
        Framework::ScopedFile pipe(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                                      1, 4096, 4096, 0, nullptr));
        ASSERT_TRUE(pipe) << reader.what;
        std::thread writer([&pipe] {
            if (!::ConnectNamedPipe(pipe.Get(), nullptr) && ::GetLastError() != ERROR_PIPE_CONNECTED)
                return;
            DWORD written = 0;
            ::WriteFile(pipe.Get(), "first ", 6, &written, nullptr);
            ::Sleep(200);
            ::WriteFile(pipe.Get(), "second", 6, &written, nullptr);
            ::FlushFileBuffers(pipe.Get());
            pipe.Reset();
        });
        std::string text;
        const bool read = reader.read(name, text);
        writer.join();
        EXPECT_TRUE(read) << reader.what;
        EXPECT_EQ(text, "first second") << reader.what;
    }
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

namespace {

// A pipe that does not wait takes only what fits into its buffer: a short write.
TEST(WriteAllBytes, AShortWriteIsAFailure)
{
    const std::wstring name = L"\\\\.\\pipe\\quillpage-write-" + std::to_wstring(::GetCurrentProcessId());
    Framework::ScopedFile pipe(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_NOWAIT, 1,
                                                  1024, 1024, 0, nullptr));
    ASSERT_TRUE(pipe);
    Framework::ScopedFile reader(::CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    EXPECT_TRUE(WriteAllBytes(pipe.Get(), "small"));
    EXPECT_FALSE(WriteAllBytes(pipe.Get(), std::string(256 * 1024, 'x')));
}

}
