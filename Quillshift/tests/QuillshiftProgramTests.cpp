// Starts the real Quillshift.exe on files and checks its exit code, its console line and the files.
#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "Framework/Handles.h"
#include "Framework/Paths.h"
#include "TestData.h"
#include "TestSupport/TestFiles.h"

namespace {


const DWORD kExitFailure = static_cast<DWORD>(-1);
const DWORD kRunTimeoutMs = 120000;

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The deliverable lands in <build>/bin, the tests in <build>/tests.
std::wstring ConverterPath()
{
    const std::wstring beside = Framework::ModuleFolder() + L"Quillshift.exe";
    if (FileExists(beside))
        return beside;
    return Framework::ModuleFolder() + L"..\\bin\\Quillshift.exe";
}

void WriteWholeFile(const std::wstring& path, const std::string& text)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(path, text));
}

// Names of the entries of a folder, "." and ".." left out.
std::vector<std::wstring> FolderEntries(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    Framework::ScopedFind find(FindFirstFileW((folder + L"\\*").c_str(), &data));
    if (!find)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.Get(), &data));
    return names;
}

void RemoveTree(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : FolderEntries(path))
            RemoveTree(path + L"\\" + name);
        RemoveDirectoryW(path.c_str());
    } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
    }
}

struct RunResult {
    DWORD exitCode = 0;
    std::string console;  // what the program printed on standard output
};

class QuillshiftProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = info->name();
        folder_ = Framework::ModuleFolder() + L"quillshift-work";
        CreateDirectoryW(folder_.c_str(), nullptr);
        folder_ += L"\\" + std::wstring(name.begin(), name.end());
        RemoveTree(folder_);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    }

    std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }

    // Starts the converter with the given parameter string and waits for it to end.
    RunResult Run(const std::wstring& parameters)
    {
        RunResult result;
        const std::wstring consolePath = folder_ + L".console";
        SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        Framework::ScopedFile console(CreateFileW(consolePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(console.IsValid());

        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = console.Get();
        startup.hStdError = console.Get();
        PROCESS_INFORMATION process = {};
        std::wstring commandLine = L"\"" + ConverterPath() + L"\"";
        if (!parameters.empty())
            commandLine += L" " + parameters;
        if (!CreateProcessW(ConverterPath().c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &startup, &process)) {
            ADD_FAILURE() << "Quillshift.exe did not start, error " << GetLastError();
            return result;
        }
        Framework::ScopedHandle processHandle(process.hProcess);
        Framework::ScopedHandle threadHandle(process.hThread);
        if (WaitForSingleObject(process.hProcess, kRunTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
            ADD_FAILURE() << "Quillshift.exe did not end in time";
        }
        EXPECT_TRUE(GetExitCodeProcess(process.hProcess, &result.exitCode));
        console.Reset();
        result.console = TestSupport::ReadWholeFile(consolePath);
        DeleteFileW(consolePath.c_str());
        return result;
    }

    RunResult Run(const std::wstring& input, const std::wstring& output)
    {
        return Run(L"\"" + input + L"\" \"" + output + L"\"");
    }

    std::wstring folder_;
};

TEST_F(QuillshiftProgramTest, ConvertsFixtureByteForByte)
{
    WriteWholeFile(Path(L"httpd.ini"), QuillshiftTest::ReadFixture("site.ini"));
    const RunResult run = Run(Path(L"httpd.ini"), Path(L"httpd.conf"));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.console, "");
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"httpd.conf")), QuillshiftTest::ReadFixture("site.expected"));
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"httpd.ini")), QuillshiftTest::ReadFixture("site.ini"));
}

TEST_F(QuillshiftProgramTest, LfFileConvertsLikeCrLfFile)
{
    std::string old = QuillshiftTest::ReadFixture("site.ini");
    std::string lf;
    for (std::size_t i = 0; i < old.size(); ++i)
        if (!(old[i] == '\r' && i + 1 < old.size() && old[i + 1] == '\n'))
            lf += old[i];
    WriteWholeFile(Path(L"unix.ini"), lf);
    const RunResult run = Run(Path(L"unix.ini"), Path(L"unix.conf"));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"unix.conf")), QuillshiftTest::ReadFixture("site.expected"));
}

TEST_F(QuillshiftProgramTest, PathsWithBlanksAndExtraArguments)
{
    WriteWholeFile(Path(L"old file.ini"), "RewriteRule /a /b [I]\r\n");
    const RunResult run = Run(L"\"" + Path(L"old file.ini") + L"\" \"" + Path(L"new file.conf") + L"\" extra");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"new file.conf")), QuillshiftTest::Header() + "RewriteRule ^/a$ /b [NC]\r\n");
}

TEST_F(QuillshiftProgramTest, EmptyInputGivesHeaderOnly)
{
    WriteWholeFile(Path(L"empty.ini"), "");
    const RunResult run = Run(Path(L"empty.ini"), Path(L"out.conf"));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"out.conf")), QuillshiftTest::Header());
}

TEST_F(QuillshiftProgramTest, UsageWithoutTwoArguments)
{
    for (const std::wstring& parameters : {std::wstring(), L"\"" + Path(L"in.ini") + L"\""}) {
        const RunResult run = Run(parameters);
        EXPECT_EQ(run.exitCode, 0u);
        EXPECT_EQ(run.console, "converter.exe old_syntax_string\r\n");
    }
    EXPECT_TRUE(FolderEntries(folder_).empty());
}

// Replacing an existing, longer output leaves exactly the new text and no temporary file.
TEST_F(QuillshiftProgramTest, ReplacesExistingOutputWhole)
{
    WriteWholeFile(Path(L"in.ini"), "RewriteRule /a /b\r\n");
    WriteWholeFile(Path(L"out.conf"), std::string(100000, 'x'));
    const RunResult run = Run(Path(L"in.ini"), Path(L"out.conf"));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"out.conf")), QuillshiftTest::Header() + "RewriteRule ^/a$ /b\r\n");
    EXPECT_EQ(FolderEntries(folder_).size(), 2u);
}

// An input that cannot be read is reported and leaves an existing output as it was.
TEST_F(QuillshiftProgramTest, UnreadableInputKeepsOutput)
{
    const std::string previous = "RewriteEngine On\r\n# live configuration\r\n";
    struct Case {
        const wchar_t* input;
        const char* console;
    };
    ASSERT_TRUE(CreateDirectoryW(Path(L"folder").c_str(), nullptr));
    WriteWholeFile(Path(L"locked.ini"), "RewriteRule /a /b\r\n");
    Framework::ScopedFile lock(CreateFileW(Path(L"locked.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock.IsValid());

    const Case cases[] = {
        {L"missing.ini", "Can't open file\r\n"},
        {L"locked.ini", "Can't open file\r\n"},
        {L"no\\such\\folder\\x.ini", "Can't open file\r\n"},
    };
    for (const Case& c : cases) {
        WriteWholeFile(Path(L"out.conf"), previous);
        const RunResult run = Run(Path(c.input), Path(L"out.conf"));
        EXPECT_EQ(run.exitCode, kExitFailure);
        EXPECT_EQ(run.console, c.console);
        EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"out.conf")), previous);
    }

    // A folder as input: the system refuses access to it.
    WriteWholeFile(Path(L"out.conf"), previous);
    const RunResult run = Run(Path(L"folder"), Path(L"out.conf"));
    EXPECT_EQ(run.exitCode, kExitFailure);
    EXPECT_TRUE(run.console == "Access Denied\r\n" || run.console == "Can't open file\r\n") << run.console;
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"out.conf")), previous);
}

TEST_F(QuillshiftProgramTest, SameFileTwiceIsRefused)
{
    const std::string previous = "RewriteRule /a /b\r\n";
    WriteWholeFile(Path(L"one.ini"), previous);
    for (const std::wstring& output : {Path(L"one.ini"), folder_ + L"\\.\\ONE.INI"}) {
        const RunResult run = Run(Path(L"one.ini"), output);
        EXPECT_EQ(run.exitCode, kExitFailure);
        EXPECT_EQ(run.console, "Input and output are the same file\r\n");
        EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"one.ini")), previous);
    }
}

// An output that cannot be written is a failure, and leaves nothing behind.
TEST_F(QuillshiftProgramTest, UnwritableOutputIsReported)
{
    WriteWholeFile(Path(L"in.ini"), "RewriteRule /a /b\r\n");
    ASSERT_TRUE(CreateDirectoryW(Path(L"folder").c_str(), nullptr));
    for (const wchar_t* output : {L"missing\\out.conf", L"folder"}) {
        const RunResult run = Run(Path(L"in.ini"), Path(output));
        EXPECT_EQ(run.exitCode, kExitFailure) << std::string(output, output + wcslen(output));
        EXPECT_EQ(run.console, "Can't write file\r\n");
    }
    EXPECT_EQ(FolderEntries(folder_).size(), 2u);
    EXPECT_TRUE(FolderEntries(Path(L"folder")).empty());
    EXPECT_FALSE(FileExists(Path(L"missing")));
}

// An output that another program holds open without sharing stays whole; nothing is half written.
TEST_F(QuillshiftProgramTest, LockedOutputKeepsItsText)
{
    const std::string previous = "RewriteEngine On\r\n# live configuration\r\n";
    WriteWholeFile(Path(L"in.ini"), "RewriteRule /a /b\r\n");
    WriteWholeFile(Path(L"out.conf"), previous);
    {
        Framework::ScopedFile lock(CreateFileW(Path(L"out.conf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                               FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock.IsValid());
        const RunResult run = Run(Path(L"in.ini"), Path(L"out.conf"));
        EXPECT_EQ(run.exitCode, kExitFailure);
        EXPECT_EQ(run.console, "Can't write file\r\n");
    }
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"out.conf")), previous);
    EXPECT_EQ(FolderEntries(folder_).size(), 2u);
}

TEST_F(QuillshiftProgramTest, BinaryInputPassesThrough)
{
    const std::string binary("\0\x01\xff\xfe garbage", 13);
    WriteWholeFile(Path(L"bin.ini"), "RewriteRule /a /b\r\n" + binary + "\r\n");
    const RunResult run = Run(Path(L"bin.ini"), Path(L"bin.conf"));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(TestSupport::ReadWholeFile(Path(L"bin.conf")),
              QuillshiftTest::Header() + "RewriteRule ^/a$ /b\r\n# # Line 1: (Unknown expression)\t" + binary + "\r\n");
}

// About 100 MB of rules and a line of a megabyte.
TEST_F(QuillshiftProgramTest, LargeInputConvertsCompletely)
{
    const std::string padding(1000, 'p');
    const std::string oldBlock = "RewriteRule /a/(\\d+) /b?$1 [I,L] #" + padding + "\r\n";
    const std::string newBlock = "RewriteRule ^/a/(\\d+)$ /b?$1 [NC,L]#" + padding + "\r\n";
    const std::size_t blocks = (100u << 20) / oldBlock.size();
    std::string old;
    std::string expected = QuillshiftTest::Header();
    for (std::size_t i = 0; i < blocks; ++i) {
        old += oldBlock;
        expected += newBlock;
    }
    old += "RewriteRule /" + std::string(1u << 20, 'x') + " /y\r\n";
    expected += "RewriteRule ^/" + std::string(1u << 20, 'x') + "$ /y\r\n";
    WriteWholeFile(Path(L"big.ini"), old);
    const RunResult run = Run(Path(L"big.ini"), Path(L"big.conf"));
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(TestSupport::ReadWholeFile(Path(L"big.conf")) == expected);
}

}
