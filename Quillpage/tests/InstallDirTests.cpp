// The install directory from the registry, and where the configuration model puts it.
#include "InstallDir.h"

#include <Framework/Registry.h>
#include <RewriteConfig/QuillonConfig.h>
#include <RewriteConfig/TextFunctions.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace Orvane::Quillon;

namespace {

// Owns the registry key for one test and removes it afterwards.
class InstallDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Framework::DeleteKeyTree(HKEY_LOCAL_MACHINE, kInstallDirKey);
        SetLogBaseDirectory(L"");
    }
    void TearDown() override
    {
        Framework::DeleteKeyTree(HKEY_LOCAL_MACHINE, kInstallDirKey);
        SetLogBaseDirectory(L"");
    }
    // Stores exactly these bytes with this type.
    void Store(DWORD type, const std::vector<BYTE>& bytes)
    {
        Framework::RegistryKey key;
        ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, kInstallDirKey), ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExW(key.Get(), kInstallDirValue, 0, type, bytes.empty() ? nullptr : bytes.data(),
                                   static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
    }
    static std::vector<BYTE> Bytes(const std::wstring& text, bool terminator)
    {
        const BYTE* data = reinterpret_cast<const BYTE*>(text.c_str());
        return std::vector<BYTE>(data, data + (text.size() + (terminator ? 1 : 0)) * sizeof(wchar_t));
    }
};

TEST_F(InstallDirTest, ValueBecomesTheInstallDirectory)
{
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
        std::wstring directory;
    } cases[] = {
        {"terminated", REG_SZ, Bytes(L"C:\\Tools\\", true), L"C:\\Tools\\"},
        {"without a terminator: every character", REG_SZ, Bytes(L"C:\\Tools\\", false), L"C:\\Tools\\"},
        {"not expanded", REG_EXPAND_SZ, Bytes(L"%SystemDrive%\\Tools\\", true), L"%SystemDrive%\\Tools\\"},
        {"a NUL inside", REG_BINARY, Bytes(std::wstring(L"C:\\A\0junk", 9), false), L"C:\\A"},
        {"length 0", REG_SZ, {}, L""},
        {"length 1", REG_BINARY, {'C'}, L""},
        {"259 characters fit", REG_SZ, Bytes(std::wstring(259, L'x'), true), std::wstring(259, L'x')},
    };
    for (const auto& c : cases) {
        SetLogBaseDirectory(L"before");
        Store(c.type, c.bytes);
        ReadInstallDir();
        EXPECT_EQ(InstallDirectory(), c.directory) << c.what;
        EXPECT_EQ(LogBaseDirectory(), c.directory) << c.what;
    }
}

TEST_F(InstallDirTest, MissingOrTooLongLeavesTheOldValue)
{
    SetLogBaseDirectory(L"D:\\Old\\");
    ReadInstallDir();  // no key
    EXPECT_EQ(InstallDirectory(), L"D:\\Old\\");
    Store(REG_SZ, Bytes(std::wstring(260, L'x'), true));
    ReadInstallDir();
    EXPECT_EQ(InstallDirectory(), L"D:\\Old\\");
    Framework::RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_LOCAL_MACHINE, kInstallDirKey), ERROR_SUCCESS);
    ASSERT_EQ(key.DeleteValue(kInstallDirValue), ERROR_SUCCESS);
    ReadInstallDir();  // key without the value
    EXPECT_EQ(InstallDirectory(), L"D:\\Old\\");
}

TEST_F(InstallDirTest, RelativeLogPathsAreJoinedToIt)
{
    const struct {
        const wchar_t* installDir;
        std::wstring errorLog;
        std::wstring rewriteLog;
    } cases[] = {
        {L"C:\\Tools\\", L"C:\\Tools\\logs\\error.log", L"C:\\Tools\\Rewrite.log"},
        {L"C:\\Tools", L"C:\\Toolslogs\\error.log", L"C:\\ToolsRewrite.log"},
    };
    for (const auto& c : cases) {
        Store(REG_SZ, Bytes(c.installDir, true));
        ReadInstallDir();
        QuillpageConfig config;
        EXPECT_TRUE(config.ParseLine("ErrorLog logs\\error.log"));
        EXPECT_EQ(config.errorLog, c.errorLog);
        EXPECT_EQ(config.rewriteLog, c.rewriteLog);
        EXPECT_TRUE(config.ParseLine("ErrorLog D:\\abs.log"));
        EXPECT_EQ(config.errorLog, L"D:\\abs.log");
    }
}

// Watcher threads build configuration objects while the page's thread reads the value anew.
TEST_F(InstallDirTest, ThreadsBuildingConfigurationsSeeWholeValuesWhileItIsRead)
{
    const std::wstring first = L"C:\\" + std::wstring(200, L'a') + L"\\";
    const std::wstring second = L"D:\\" + std::wstring(150, L'b') + L"\\";
    Store(REG_SZ, Bytes(first, true));
    ReadInstallDir();
    std::atomic<bool> stop{false};
    std::atomic<int> torn{0}, built{0};
    std::vector<std::thread> watchers;
    for (int w = 0; w < 3; ++w)
        watchers.emplace_back([&] {
            while (!stop) {
                const QuillpageConfig config;
                if (config.rewriteLog != first + L"Rewrite.log" && config.rewriteLog != second + L"Rewrite.log")
                    ++torn;
                ++built;
            }
        });
    for (int i = 0; i < 400; ++i) {
        Store(REG_SZ, Bytes(i % 2 ? first : second, true));
        ReadInstallDir();
    }
    stop = true;
    for (auto& watcher : watchers)
        watcher.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_GT(built.load(), 0);
}

}
