// Configuration objects loaded from files on disk, and the choice of a site folder's file.
#include "ConfigLoading.h"
#include "FileText.h"
#include "ImportFileDialog.h"

#include <core/SafeContainer.h>

#include <Framework/Handles.h>
#include <RewriteConfig/Htaccess.h>
#include <RewriteConfig/QuillonConfig.h>
#include <RewriteConfig/Platform.h>
#include <TestSupport/SiteFiles.h>
#include <TestSupport/TestFiles.h>

#include <gtest/gtest.h>

using namespace Orvane;
using namespace Orvane::Quillon;
using TestSupport::SiteFiles;

namespace {

const char kTwoRules[] = "RewriteEngine On\nRewriteRule ^a$ /b\nRewriteRule ^c$ /d\n";

class LoadingTest : public ::testing::Test {
protected:
    std::wstring Folder() const { return files_.Base() + L"\\"; }
    std::wstring Write(const std::wstring& name, const std::string& bytes) const
    {
        EXPECT_TRUE(TestSupport::WriteWholeFile(Folder() + name, bytes));
        return Folder() + name;
    }

    SiteFiles files_{L"quillpage-loading"};
};

TEST_F(LoadingTest, LoadFromFileParsesTheFileNamedAtConstruction)
{
    const struct {
        const char* what;
        std::string bytes;
        bool loaded;
        unsigned char engine;
        size_t rules;
    } cases[] = {
        {"two rules", kTwoRules, true, 1, 2},
        {"a NUL byte ends the text", std::string("RewriteEngine On\nRewriteRule ^a$ /b\n\0RewriteRule ^c$ /d\n", 54),
         true, 1, 1},
        {"parse errors are dropped", "RewriteEngine On\nNoSuchDirective x\nRewriteRule ^a$ /b\n", true, 1, 1},
        {"engine off in the file", "RewriteEngine Off\n", true, 0, 0},
    };
    for (const auto& c : cases) {
        const std::wstring path = Write(L"site.conf", c.bytes);
        Htaccess config(path);
        EXPECT_EQ(config.LoadFromFile(), c.loaded) << c.what;
        EXPECT_EQ(config.rewriteEngine, c.engine) << c.what;
        EXPECT_EQ(config.rules.size(), c.rules) << c.what;
    }
}

// The load reads as the page reads: a file another program writes, sharing it, is loaded; one that
// no reader gets into is Unreadable, not Missing, and like a missing one keeps the defaults.
TEST_F(LoadingTest, LoadTellsAMissingFileFromOneThatCannotBeRead)
{
    ASSERT_TRUE(files_.Folders({L"a folder"}));
    const struct {
        const char* what;
        bool exists;
        DWORD holderShare;  // of a writer holding the file, when it exists
        FileReadResult result;
    } cases[] = {
        {"missing", false, 0, FileReadResult::Missing},
        {"held by a writer that shares it", true, FILE_SHARE_READ | FILE_SHARE_WRITE, FileReadResult::Read},
        {"held by a writer that shares it with nobody", true, 0, FileReadResult::Unreadable},
    };
    for (const auto& c : cases) {
        const std::wstring path = c.exists ? Write(L"busy.conf", kTwoRules) : Folder() + L"missing.conf";
        Framework::ScopedFile writer;
        if (c.exists) {
            writer.Reset(::CreateFileW(path.c_str(), GENERIC_WRITE, c.holderShare, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(writer) << c.what;
        }
        QuillonConfig config(path);
        const QuillonConfig defaults(path);
        EXPECT_EQ(LoadConfigurationFile(config), c.result) << c.what;
        if (c.result == FileReadResult::Read) {
            EXPECT_EQ(config.rewriteEngine, 1) << c.what;
            EXPECT_EQ(config.rules.size(), 2u) << c.what;
            continue;
        }
        EXPECT_EQ(config.rewriteEngine, 0) << c.what;
        EXPECT_TRUE(config.rules.empty()) << c.what;
        EXPECT_EQ(config.repeatLimit, defaults.repeatLimit) << c.what;
        EXPECT_EQ(config.accessFileNames, defaults.accessFileNames) << c.what;
        EXPECT_EQ(config.fileName, path) << c.what;
        QuillonConfig again(path);
        EXPECT_FALSE(again.LoadFromFile()) << c.what;
    }
    Htaccess folder(Folder() + L"a folder");
    EXPECT_EQ(LoadConfigurationFile(folder), FileReadResult::Unreadable);
}

TEST_F(LoadingTest, AccessFileIsTheFirstNameThatIsAFile)
{
    const struct {
        const char* what;
        std::vector<std::wstring> names;
        std::vector<std::wstring> files;    // written with two rules
        std::vector<const wchar_t*> folders;
        std::wstring chosen;
        size_t rules;
    } cases[] = {
        {"a folder named like the file", {L".htaccess"}, {}, {L".htaccess"}, L".htaccess", 0},
        {"the folder is skipped for the next name", {L"httpd.ini", L"site.ini"}, {L"site.ini"}, {L"httpd.ini"},
         L"site.ini", 2},
        {"only the second exists", {L"first.ini", L"second.ini"}, {L"second.ini"}, {}, L"second.ini", 2},
        {"both exist: list order", {L"second.ini", L"first.ini"}, {L"first.ini", L"second.ini"}, {},
         L"second.ini", 2},
        {"none exists: the first name", {L"one.ini", L"two.ini"}, {}, {}, L"one.ini", 0},
        {"no names: the default name", {}, {L".htaccess"}, {}, L".htaccess", 2},
    };
    int round = 0;
    for (const auto& c : cases) {
        SiteFiles site{L"quillpage-access-" + std::to_wstring(round++)};
        const std::wstring folder = site.Base() + L"\\";
        for (const std::wstring& name : c.files)
            ASSERT_TRUE(TestSupport::WriteWholeFile(folder + name, kTwoRules));
        for (const wchar_t* name : c.folders)
            ASSERT_TRUE(::CreateDirectoryW((folder + name).c_str(), nullptr));
        QuillonConfig server;
        server.accessFileNames = c.names;
        const CSafeContainer<Htaccess> loaded = server.LoadAccessFile(folder);
        ASSERT_TRUE(loaded) << c.what;
        EXPECT_EQ(loaded->fileName, folder + c.chosen) << c.what;
        EXPECT_EQ(loaded->rules.size(), c.rules) << c.what;
        EXPECT_EQ(loaded->rewriteEngine, c.rules ? 1 : 0) << c.what;
    }
}

TEST_F(LoadingTest, AccessFileNamesComeFromTheServerFile)
{
    const std::wstring server = Write(L"httpd.conf", "AccessFileName a.ini b.ini\n");
    Write(L"b.ini", kTwoRules);
    QuillpageConfig config(server);
    ASSERT_TRUE(config.LoadFromFile());
    const CSafeContainer<Htaccess> loaded = config.LoadAccessFile(Folder());
    EXPECT_EQ(loaded->fileName, Folder() + L"b.ini");
    EXPECT_EQ(loaded->rules.size(), 2u);
}

}

namespace {

TEST(ImportFileDialog, AnOpenDialogForIniFilesStartingAtHttpdIni)
{
    CImportFileDialog dialog;
    const OPENFILENAMEW& ofn = dialog.Structure();
    EXPECT_EQ(ofn.lStructSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400W));
    EXPECT_EQ(ofn.Flags, 0x880020u);
    EXPECT_EQ(ofn.hwndOwner, nullptr);
    EXPECT_EQ(std::wstring(ofn.lpstrFile), L"httpd.ini");
    EXPECT_EQ(ofn.nMaxFile, 260u);
    EXPECT_EQ(ofn.nMaxFileTitle, 256u);
    EXPECT_EQ(std::wstring(ofn.lpstrDefExt), L"ini");
    const std::wstring filter(L"Ini files \0*.ini\0\0", 18);
    EXPECT_EQ(std::wstring(ofn.lpstrFilter, filter.size()), filter);
}

}
