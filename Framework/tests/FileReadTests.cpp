// Whole-file reading on real files, folders and pipes: every byte or the text up to a NUL, to the
// true end after short reads, the limit against the full 64-bit size, sharing, and a missing file
// told apart from one that cannot be read.
#include "Framework/FileRead.h"

#include "Framework/Handles.h"

#include <gtest/gtest.h>

#include "TestSupport/TestFiles.h"
#include "TestSupport/WindowDriver.h"

#include <functional>
#include <string>
#include <thread>
#include <vector>

using Framework::MissingFile;
using Framework::NulByte;
using Framework::ScopedFile;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;

class FileReadTest : public ::testing::Test {
protected:
    std::wstring Write(const std::wstring& name, const std::string& bytes) const
    {
        const std::wstring path = folder_.File(name);
        EXPECT_TRUE(TestSupport::WriteWholeFile(path, bytes));
        return path;
    }
    // A named pipe whose writer sends its pieces with a pause between them and then closes, so
    // that the reader's first read comes back short.
    class PausingPipe {
    public:
        PausingPipe(const std::wstring& name, std::vector<std::string> pieces) : name_(name)
        {
            pipe_.Reset(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096,
                                           4096, 0, nullptr));
            if (!pipe_)
                return;
            writer_ = std::thread([this, pieces] {
                if (!::ConnectNamedPipe(pipe_.Get(), nullptr) && ::GetLastError() != ERROR_PIPE_CONNECTED)
                    return;
                for (const std::string& piece : pieces) {
                    DWORD written = 0;
                    ::WriteFile(pipe_.Get(), piece.data(), static_cast<DWORD>(piece.size()), &written, nullptr);
                    ::FlushFileBuffers(pipe_.Get());
                    ::Sleep(200);
                }
                pipe_.Reset();
            });
        }
        ~PausingPipe()
        {
            if (!writer_.joinable())
                return;
            // A reader that never came leaves the writer waiting for a client: be one.
            ScopedFile client(::CreateFileW(name_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
            writer_.join();
        }
        bool IsOpen() const { return writer_.joinable(); }
        const std::wstring& Name() const { return name_; }

    private:
        std::wstring name_;
        ScopedFile pipe_;
        std::thread writer_;
    };
    static std::wstring PipeName(int round)
    {
        return L"\\\\.\\pipe\\framework-read-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
               std::to_wstring(round);
    }

    TestSupport::TempFolder folder_{L"framework-read"};
};

TEST_F(FileReadTest, KeepsEveryByteOrEndsTheTextAtTheFirstNul)
{
    for (const TestSupport::NulByteCase& c : TestSupport::NulByteCases()) {
        const std::wstring path = Write(L"text.conf", c.bytes);
        std::string read = "left over";
        EXPECT_EQ(Framework::ReadWholeFile(path, FILE_SHARE_READ, Framework::kNoReadLimit, NulByte::Kept, read), 0u)
            << c.what;
        EXPECT_EQ(read, c.bytes) << c.what;
        read = "left over";
        EXPECT_EQ(Framework::ReadWholeFile(path, FILE_SHARE_READ, Framework::kNoReadLimit, NulByte::EndsText, read),
                  0u)
            << c.what;
        EXPECT_EQ(read, c.text) << c.what;
    }
}

TEST_F(FileReadTest, AMissingFileIsToldApartFromOneThatCannotBeRead)
{
    ASSERT_TRUE(::CreateDirectoryW(folder_.File(L"a folder").c_str(), nullptr));
    const struct {
        const char* what;
        std::wstring path;
        bool missing;
    } cases[] = {
        {"missing file", folder_.File(L"none.conf"), true},
        {"missing folder on the way", folder_.File(L"no folder\\none.conf"), true},
        {"a folder", folder_.File(L"a folder"), false},
    };
    for (const auto& c : cases) {
        std::string bytes = "left over";
        const DWORD error = Framework::ReadWholeFile(c.path, kShareAll, Framework::kNoReadLimit, NulByte::Kept, bytes);
        EXPECT_NE(error, 0u) << c.what;
        EXPECT_EQ(Framework::IsMissingFileError(error), c.missing) << c.what << ": error " << error;
        EXPECT_EQ(bytes, "") << c.what;
    }
}

TEST_F(FileReadTest, AMissingFileIsCreatedEmptyOnlyWhenAsked)
{
    const std::wstring path = folder_.File(L"new.conf");
    ScopedFile file;
    EXPECT_TRUE(Framework::IsMissingFileError(Framework::OpenFileForReading(path, 0, MissingFile::Fails, file)));
    EXPECT_EQ(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);

    ASSERT_EQ(Framework::OpenFileForReading(path, 0, MissingFile::IsCreated, file), 0u);
    std::string bytes = "left over";
    EXPECT_EQ(Framework::ReadToEnd(file.Get(), Framework::kNoReadLimit, bytes), 0u);
    EXPECT_EQ(bytes, "");
    file.Reset();
    EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);

    // An existing file is opened as it is, not emptied.
    Write(L"new.conf", "kept");
    ASSERT_EQ(Framework::OpenFileForReading(path, 0, MissingFile::IsCreated, file), 0u);
    EXPECT_EQ(Framework::ReadToEnd(file.Get(), Framework::kNoReadLimit, bytes), 0u);
    EXPECT_EQ(bytes, "kept");
}

TEST_F(FileReadTest, SharingDecidesWhetherAFileInUseCanBeRead)
{
    const std::wstring path = Write(L"busy.conf", "RewriteEngine On\n");
    const struct {
        const char* what;
        DWORD heldAccess;
        DWORD share;
        bool read;
    } cases[] = {
        {"held for writing, shared with readers only", GENERIC_WRITE, FILE_SHARE_READ, false},
        {"held for writing, shared with writers", GENERIC_WRITE, kShareAll, true},
        {"held for reading, not shared", GENERIC_READ, 0, false},
        {"held for reading, shared with readers", GENERIC_READ, FILE_SHARE_READ, true},
    };
    for (const auto& c : cases) {
        ScopedFile holder(::CreateFileW(path.c_str(), c.heldAccess, kShareAll, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder) << c.what;
        std::string bytes;
        const DWORD error = Framework::ReadWholeFile(path, c.share, Framework::kNoReadLimit, NulByte::Kept, bytes);
        EXPECT_EQ(error == 0, c.read) << c.what << ": error " << error;
        EXPECT_FALSE(Framework::IsMissingFileError(error)) << c.what;
        EXPECT_EQ(bytes, c.read ? "RewriteEngine On\n" : "") << c.what;
        holder.Reset();
        EXPECT_EQ(Framework::ReadWholeFile(path, c.share, Framework::kNoReadLimit, NulByte::Kept, bytes), 0u)
            << c.what;
    }
}

TEST_F(FileReadTest, TheLimitHoldsAgainstTheSizeAndTheBytesRead)
{
    const std::wstring path = Write(L"sized.conf", "0123456789");
    const struct {
        unsigned long long limit;
        DWORD error;
    } cases[] = {
        {10, 0},
        {9, ERROR_FILE_TOO_LARGE},
        {0, ERROR_FILE_TOO_LARGE},
    };
    for (const auto& c : cases) {
        std::string bytes = "left over";
        EXPECT_EQ(Framework::ReadWholeFile(path, kShareAll, c.limit, NulByte::Kept, bytes), c.error) << c.limit;
        EXPECT_EQ(bytes, c.error ? "" : "0123456789") << c.limit;
    }

    // A pipe has no size: the limit is kept while it is read, and the bytes before it stay.
    PausingPipe pipe(PipeName(0), {"first ", "second"});
    ASSERT_TRUE(pipe.IsOpen());
    ScopedFile reader;
    ASSERT_EQ(Framework::OpenFileForReading(pipe.Name(), 0, MissingFile::Fails, reader), 0u);
    std::string bytes;
    EXPECT_EQ(Framework::ReadToEnd(reader.Get(), 8, bytes), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_LE(bytes.size(), 8u);
    EXPECT_EQ(std::string("first ").compare(0, bytes.size(), bytes), 0) << bytes;
}

// A file of 4 GB and 5 bytes, whose size does not fit 32 bits: refused for every limit below its
// whole size, never read as its 5 bytes beyond 4 GB.
TEST_F(FileReadTest, TheLimitSeesTheWholeSizeBeyondFourGigabytes)
{
    const std::wstring path = folder_.File(L"huge.conf");
    ASSERT_TRUE(TestSupport::CreateSparseFile(path, 0x100000005ull));
    for (const unsigned long long limit : {0x10ull, 0xFFFFFFFFull, 0x100000004ull}) {
        std::string bytes = "left over";
        EXPECT_EQ(Framework::ReadWholeFile(path, kShareAll, limit, NulByte::Kept, bytes),
                  static_cast<DWORD>(ERROR_FILE_TOO_LARGE))
            << limit;
        EXPECT_EQ(bytes, "") << limit;
    }
    ::DeleteFileW(path.c_str());
}

// A pipe hands its data over in pieces: the first short read is not the end, for every way in.
TEST_F(FileReadTest, ReadsToTheTrueEndAfterAShortRead)
{
    const struct {
        const char* what;
        std::function<DWORD(const std::wstring&, std::string&)> read;
    } readers[] = {
        {"whole file, every byte",
         [](const std::wstring& path, std::string& bytes) {
             return Framework::ReadWholeFile(path, FILE_SHARE_READ, Framework::kNoReadLimit, NulByte::Kept, bytes);
         }},
        {"whole file, text up to a NUL",
         [](const std::wstring& path, std::string& bytes) {
             return Framework::ReadWholeFile(path, kShareAll, Framework::kNoReadLimit, NulByte::EndsText, bytes);
         }},
        {"an open handle",
         [](const std::wstring& path, std::string& bytes) {
             ScopedFile file;
             if (DWORD error = Framework::OpenFileForReading(path, 0, MissingFile::Fails, file))
                 return error;
             return Framework::ReadToEnd(file.Get(), Framework::kNoReadLimit, bytes);
         }},
    };
    int round = 0;
    for (const auto& reader : readers) {
        PausingPipe pipe(PipeName(++round), {"first ", "second"});
        ASSERT_TRUE(pipe.IsOpen()) << reader.what;
        std::string bytes;
        EXPECT_EQ(reader.read(pipe.Name(), bytes), 0u) << reader.what;
        EXPECT_EQ(bytes, "first second") << reader.what;
    }
}

}
