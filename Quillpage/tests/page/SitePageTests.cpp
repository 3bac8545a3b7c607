// The real Quillpage.dll, copied with the real Quillpen.exe and Quillshift.exe into a folder of its
// own (where its "httpd.conf" lies), driven as a host drives it: the extension is created by class
// id, given a data object of the test's own, and its page is shown in a real property sheet.
#include "PageTestSupport.h"

#include "SitePropertyPage.h"
#include "Strings.h"
#include "resource.h"

#include <Framework/FileReplace.h>
#include <Framework/Handles.h>
#include <Framework/Resources.h>
#include <TestSupport/IisStoreStandIn.h>
#include <TestSupport/QuillpenCommands.h>
#include <TestSupport/SiteFiles.h>
#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::string_literals;
using PageTest::TestCallback;
using PageTest::TestDataObject;
using TestSupport::kQuillpenApplyCommand;
using TestSupport::WaitUntil;
using TestSupport::WindowText;
using Orvane::Quillon::CSitePropertyPage;

const CLSID kExtension = {0x8BC324A4, 0x8A49, 0x4E7A, {0xB2, 0xBF, 0x6E, 0xD3, 0xE5, 0x63, 0x0C, 0x2F}};
// The file-name field of the open-file dialog (explorer and old layouts).
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;
// The sheet's Apply button.
constexpr int kApplyButton = 0x3021;

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using EntryFunction = HRESULT(STDAPICALLTYPE*)();

std::wstring ScreenshotPath(const wchar_t* name)
{
    return TestSupport::BuildFolder() + L"\\screenshots\\" + name;
}

std::string FileBytes(const std::wstring& path)
{
    std::string bytes;
    return TestSupport::TryReadWholeFile(path, bytes) ? bytes : "<missing>";
}

// The last-write time of a file; 0 when it cannot be queried.
ULONGLONG LastWriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Waits until a file written now gets a later last-write time than the file has: the watcher
// tells a write by the time stamp, whose steps can be coarser than a test's. A probe file in a
// folder of its own on the same drive shows the time a write gets, without waking the watcher.
bool WaitForLaterWriteTime(const std::wstring& path, DWORD timeoutMs = 10000)
{
    const ULONGLONG before = LastWriteTime(path);
    TestSupport::TempFolder folder(L"quillpage write time");
    const std::wstring probe = folder.File(L"probe");
    return WaitUntil([&] { return TestSupport::WriteWholeFile(probe, "x") && LastWriteTime(probe) > before; },
                     timeoutMs);
}

// Replaces a file as the editor saves it: a temporary file moved over it.
void ReplaceFile(const std::wstring& path, const std::string& bytes)
{
    Framework::FileReplacement replacement;
    ASSERT_EQ(replacement.Begin(path, FILE_ATTRIBUTE_NORMAL), 0u);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(replacement.Handle(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(replacement.Commit(), 0u);
}

// An existing file held open by another program, as it asks for access and sharing; null when the
// open failed (GetLastError tells why).
Framework::ScopedFile Hold(const std::wstring& path, DWORD access, DWORD share)
{
    return Framework::ScopedFile(
        ::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// How a program saves the shown file; all but Replaced keep the page's read out for the hold
// (the page's read shares the file with readers and writers, not with a deleter).
enum class SaveWay {
    // As the editor saves: a temporary file moved over the shown one.
    Replaced,
    // A new file moved over the shown one by a program that keeps it open for delete after the
    // move, as Wine's own replace does between the rename and the close.
    HeldAfterMove,
    // Written in place while another program holds the file open for delete.
    HeldForDeleteDuringWriteInPlace,
    // Written in place by a writer that shares the file with nobody.
    HeldWithoutSharing,
    // Deleted, then created anew by a program that keeps it open for delete.
    DeletedThenCreated,
};

// Saves text into path in the way given, keeps the file held for holdMs, then lets go. 0 or the
// system error code of the step that failed. Runs on a thread of its own, beside the page's.
DWORD Save(SaveWay way, const std::wstring& path, const std::string& text, DWORD holdMs)
{
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    auto open = [](const std::wstring& name, DWORD access, DWORD share, DWORD disposition, Framework::ScopedFile& file) {
        file.Reset(::CreateFileW(name.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file ? 0u : ::GetLastError();
    };
    auto write = [&text](const Framework::ScopedFile& file) {
        if (DWORD error = Framework::WriteAllBytes(file.Get(), text))
            return error;
        return ::SetEndOfFile(file.Get()) ? 0u : ::GetLastError();
    };
    Framework::ScopedFile holder;
    switch (way) {
    case SaveWay::Replaced:
        return Framework::ReplaceWholeFile(path, FILE_ATTRIBUTE_NORMAL, text);
    case SaveWay::HeldAfterMove: {
        const std::wstring temporary = path + L".new";
        if (!TestSupport::WriteWholeFile(temporary, text))
            return ERROR_WRITE_FAULT;
        if (DWORD error = open(temporary, DELETE, kShareAll, OPEN_EXISTING, holder))
            return error;
        if (!::MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
            return ::GetLastError();
        break;
    }
    case SaveWay::HeldForDeleteDuringWriteInPlace: {
        if (DWORD error = open(path, DELETE, kShareAll, OPEN_EXISTING, holder))
            return error;
        Framework::ScopedFile writer;
        if (DWORD error = open(path, GENERIC_WRITE, kShareAll, OPEN_EXISTING, writer))
            return error;
        if (DWORD error = write(writer))
            return error;
        break;
    }
    case SaveWay::HeldWithoutSharing:
        if (DWORD error = open(path, GENERIC_WRITE, 0, OPEN_EXISTING, holder))
            return error;
        if (DWORD error = write(holder))
            return error;
        break;
    case SaveWay::DeletedThenCreated:
        if (!::DeleteFileW(path.c_str()))
            return ::GetLastError();
        if (DWORD error = open(path, GENERIC_WRITE | DELETE, kShareAll, CREATE_NEW, holder))
            return error;
        if (DWORD error = write(holder))
            return error;
        break;
    }
    ::Sleep(holdMs);
    return 0;
}

// Runs Save on a thread of its own; Join gives its result.
class Saver {
public:
    // A save that meets a reader of the file (the page's read, the watcher's probe) at the moment
    // it needs the file alone fails before it changed anything, and is tried again as a saving
    // program would.
    Saver(SaveWay way, const std::wstring& path, const std::string& text, DWORD holdMs)
        : thread_([=] {
              DWORD result = Save(way, path, text, holdMs);
              for (int attempt = 0; (result == ERROR_SHARING_VIOLATION || result == ERROR_ACCESS_DENIED) &&
                                    attempt < kAttempts;
                   ++attempt) {
                  ::Sleep(kAttemptPauseMs);
                  result = Save(way, path, text, holdMs);
              }
              result_ = result;
          })
    {
    }
    ~Saver() { Join(); }
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;
    DWORD Join()
    {
        if (thread_.joinable())
            thread_.join();
        return result_;
    }

private:
    static constexpr int kAttempts = 50;
    static constexpr DWORD kAttemptPauseMs = 20;

    std::atomic<DWORD> result_{ERROR_IO_PENDING};
    std::thread thread_;
};

// Pumps this thread's messages one at a time and keeps every text that a window shows between
// two of them, so that a text shown for one message only is seen as well.
class ShownTexts {
public:
    explicit ShownTexts(HWND window) : window_(window) { Note(); }

    // Waits until the window shows the text; false after the timeout.
    bool WaitFor(const std::wstring& text, DWORD timeoutMs)
    {
        const ULONGLONG end = ::GetTickCount64() + timeoutMs;
        while (seen_.back() != text) {
            if (::GetTickCount64() >= end)
                return false;
            MSG msg{};
            if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            } else {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
            Note();
        }
        return true;
    }
    // The texts shown since the last Restart, each change once, the current one last.
    const std::vector<std::wstring>& Seen() const noexcept { return seen_; }
    // True when every text shown is one of the allowed ones.
    bool OnlyShowed(const std::vector<std::wstring>& allowed) const
    {
        return std::all_of(seen_.begin(), seen_.end(), [&](const std::wstring& text) {
            return std::find(allowed.begin(), allowed.end(), text) != allowed.end();
        });
    }
    void Restart()
    {
        seen_.clear();
        Note();
    }
    // The texts seen, each in brackets, a line end written as \n.
    std::string Describe() const
    {
        std::string all;
        for (const std::wstring& text : seen_) {
            all += "[";
            for (char c : TestSupport::Narrow(text)) {
                if (c == '\n')
                    all += "\\n";
                else if (c != '\r')
                    all += c;
            }
            all += "] ";
        }
        return all;
    }

private:
    void Note()
    {
        std::wstring text = WindowText(window_);
        if (seen_.empty() || seen_.back() != text)
            seen_.push_back(std::move(text));
    }

    HWND window_;
    std::vector<std::wstring> seen_;
};

// Threads that keep every core of the machine busy, and more, while the object lives.
class BusyMachine {
public:
    BusyMachine()
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (unsigned i = 0; i < cores + cores / 2; ++i) {
            threads_.emplace_back([this] {
                volatile unsigned long long spin = 0;
                while (!stop_.load(std::memory_order_relaxed))
                    spin = spin + 1;
            });
        }
    }
    ~BusyMachine()
    {
        stop_ = true;
        for (std::thread& thread : threads_)
            thread.join();
    }
    BusyMachine(const BusyMachine&) = delete;
    BusyMachine& operator=(const BusyMachine&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

// The watcher's wait for a file that the page's read cannot get into yet, and the page's own
// retries after it.
constexpr DWORD kWatcherWaitMs = CSitePropertyPage::kSharingRetries * CSitePropertyPage::kSharingRetryMs;
constexpr DWORD kReadRetriesMs = CSitePropertyPage::kReadRetries * CSitePropertyPage::kReadRetryIntervalMs;
// Time for a save to be noticed and shown on a busy machine, beyond every wait of the page's own.
constexpr DWORD kShowMs = 10000;
// How long a slow program holds the file it saves.
constexpr DWORD kHoldMs = 1500;

class SitePageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::CreateDirectoryW((TestSupport::BuildFolder() + L"\\screenshots").c_str(), nullptr); }

    void SetUp() override
    {
        // A blank in the folder's name: paths with blanks must reach the programs whole.
        install_ = std::make_unique<TestSupport::TempFolder>(L"quillpage install");
        for (const wchar_t* name : {L"Quillpage.dll", L"Quillpen.exe", L"Quillshift.exe"}) {
            const std::wstring from = TestSupport::BuildFolder() + L"\\bin\\" + name;
            ASSERT_TRUE(::CopyFileW(from.c_str(), install_->File(name).c_str(), FALSE)) << TestSupport::Narrow(from);
        }
        library_.Reset(::LoadLibraryW(install_->File(L"Quillpage.dll").c_str()));
        ASSERT_TRUE(library_) << ::GetLastError();
        getClassObject_ = reinterpret_cast<GetClassObjectFunction>(
            reinterpret_cast<void*>(::GetProcAddress(library_.Get(), "DllGetClassObject")));
        canUnloadNow_ =
            reinterpret_cast<EntryFunction>(reinterpret_cast<void*>(::GetProcAddress(library_.Get(), "DllCanUnloadNow")));
        ASSERT_NE(getClassObject_, nullptr);
        ASSERT_NE(canUnloadNow_, nullptr);
        serverFile_ = install_->File(L"httpd.conf");
    }

    void TearDown() override
    {
        TestSupport::UseSiteDescription(L"");
        // Programs the page started hold the test's output pipe open if they outlive it.
        TestSupport::EndChildProcesses();
        CloseSheet();
        if (canUnloadNow_) {
            EXPECT_EQ(canUnloadNow_(), S_OK) << "the page left an object or a lock";
        }
        library_.Reset();
        install_.reset();
    }

    Framework::ComPtr<IExtendPropertySheet> Extension()
    {
        Framework::ComPtr<IClassFactory> factory;
        Framework::ComPtr<IExtendPropertySheet> extension;
        EXPECT_EQ(getClassObject_(kExtension, IID_IClassFactory, factory.ReceiveVoid()), S_OK);
        if (factory) {
            EXPECT_EQ(factory->CreateInstance(nullptr, IID_IExtendPropertySheet, extension.ReceiveVoid()), S_OK);
        }
        return extension;
    }

    // Asks a fresh extension for its pages on a node with the metabase path.
    HRESULT CreatePages(IDataObject* data, TestCallback* callback)
    {
        Framework::ComPtr<IExtendPropertySheet> extension = Extension();
        if (!extension)
            return E_UNEXPECTED;
        return extension->CreatePropertyPages(callback, 0, data);
    }

    // Shows the page for the node in a property sheet; the page window.
    HWND OpenPage(const std::wstring& metaPath)
    {
        Framework::ComPtr<TestDataObject> data(new TestDataObject(metaPath));
        Framework::ComPtr<TestCallback> callback(new TestCallback());
        EXPECT_EQ(CreatePages(data.Get(), callback.Get()), S_OK);
        EXPECT_EQ(callback->pages.size(), 1u);
        if (callback->pages.size() != 1)
            return nullptr;
        sheet_ = std::make_unique<PageTest::TestSheet>();
        EXPECT_EQ(sheet_->AddPage(callback->pages.front()), S_OK);
        if (!sheet_->Create(nullptr))
            return nullptr;
        page_ = sheet_->CurrentPage();
        TestSupport::PumpMessages();
        return page_;
    }

    void CloseSheet()
    {
        if (sheet_) {
            sheet_->DestroyWindow();
            sheet_.reset();
            TestSupport::PumpMessages();
        }
        page_ = nullptr;
    }

    std::wstring PathField() const { return WindowText(::GetDlgItem(page_, IDC_PATH)); }
    std::wstring TextField() const { return WindowText(::GetDlgItem(page_, IDC_TEXT)); }
    bool Enabled(int id) const { return ::IsWindowEnabled(::GetDlgItem(page_, id)) != FALSE; }
    // Puts a marker into the text field that only a refresh replaces.
    void MarkText() const { ::SetWindowTextW(::GetDlgItem(page_, IDC_TEXT), L"<marker>"); }
    void Click(int id) const { ::SendMessageW(::GetDlgItem(page_, id), BM_CLICK, 0, 0); }
    bool WaitForText(const std::wstring& text, DWORD timeoutMs = 10000) const
    {
        return WaitUntil([&] { return TextField() == text; }, timeoutMs);
    }

    // The page asks the IIS configuration store through COM on the host's thread.
    Framework::ComInitialization com_;
    std::unique_ptr<TestSupport::TempFolder> install_;
    Framework::ScopedLibrary library_;
    GetClassObjectFunction getClassObject_ = nullptr;
    EntryFunction canUnloadNow_ = nullptr;
    std::wstring serverFile_;
    std::unique_ptr<PageTest::TestSheet> sheet_;
    HWND page_ = nullptr;
};

TEST_F(SitePageTest, ServerLevelShowsTheServerFileBesideTheModule)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine On\r\nRewriteRule ^/a$ /b\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    EXPECT_EQ(PathField(), serverFile_);
    EXPECT_EQ(TextField(), L"RewriteEngine On\r\nRewriteRule ^/a$ /b\r\n");
    for (int id : {IDC_EDIT, IDC_IMPORT, IDC_PROXY, IDC_ABOUT})
        EXPECT_TRUE(Enabled(id)) << id;
    // The open page keeps the library loaded, also after the extension is gone.
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    EXPECT_EQ(WindowText(::GetParent(page_)), L"Quillon test sheet");
    ::Sleep(300);
    TestSupport::PumpMessages();
    TestSupport::SaveWindowScreenshot(sheet_->GetHwnd(), ScreenshotPath(L"quillpage-page-server.bmp"));
}

TEST_F(SitePageTest, MissingServerFileShowsItsPathWithAnEmptyText)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    EXPECT_EQ(PathField(), serverFile_);
    EXPECT_EQ(TextField(), L"");
}

struct NodeCase {
    const wchar_t* metaPath;
    bool serverLevel;
};

class SitePageNodeTest : public SitePageTest, public ::testing::WithParamInterface<NodeCase> {};

// Without an IIS configuration store no site's folder can be found: the page still opens, says so,
// and offers no command that would create a file somewhere else.
TEST_P(SitePageNodeTest, ServerLevelOrASiteWhoseFolderIsUnknown)
{
    ASSERT_EQ(TestSupport::RegisterIisStoreStandIn(), S_OK);
    TestSupport::SiteFiles files(L"quillpage-no-store");
    ASSERT_TRUE(TestSupport::UseSiteDescription(files.Description(L"absent metabase\nabsent apphost\n")));
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "AccessFileName .config\r\n"));
    ASSERT_TRUE(OpenPage(GetParam().metaPath));
    if (GetParam().serverLevel) {
        EXPECT_EQ(PathField(), serverFile_);
        EXPECT_EQ(TextField(), L"AccessFileName .config\r\n");
    } else {
        EXPECT_EQ(PathField(), Framework::LoadResourceString(IDS_NO_FOLDER, library_.Get()));
        EXPECT_EQ(TextField(), L"");
    }
    for (int id : {IDC_EDIT, IDC_IMPORT, IDC_PROXY})
        EXPECT_EQ(Enabled(id), GetParam().serverLevel) << id;
    EXPECT_TRUE(Enabled(IDC_ABOUT));
    // Nothing named by the access-file list appears in the root of the current drive.
    EXPECT_EQ(::GetFileAttributesW(L"\\.config"), INVALID_FILE_ATTRIBUTES);
}

INSTANTIATE_TEST_SUITE_P(MetabasePaths, SitePageNodeTest, ::testing::Values(
    NodeCase{L"/LM/W3SVC//", true},
    NodeCase{L"/LM/W3SVC/1/", true},
    NodeCase{L"", true},
    NodeCase{L"/LM/W3SVC/1/ROOT/", false},
    NodeCase{L"/LM/W3SVC/1/ROOT", false},
    NodeCase{L"/lm/w3svc/12/root/x", false}));

// Sites through the IIS store stand-in: the folder the store maps the node to, and the access file
// the server file's AccessFileName list chooses there.
class SitePageSiteTest : public SitePageTest {
protected:
    void SetUp() override
    {
        SitePageTest::SetUp();
        ASSERT_EQ(TestSupport::RegisterIisStoreStandIn(), S_OK);
        ASSERT_TRUE(files_.Folders({L"site1", L"shop\\images", L"site2"}));
        ASSERT_TRUE(TestSupport::UseSiteDescription(files_.Description(
            L"site 1 Default\nroot {B}\\site1\nvdir /shop {B}\\shop\ndir /shop/images\n"
            L"site 2 Second\nroot {B}\\site2\\\n")));
    }
    std::wstring Folder(const wchar_t* relative) const { return files_.Base() + L"\\" + relative + L"\\"; }

    TestSupport::SiteFiles files_{L"quillpage-page-sites"};
};

TEST_F(SitePageSiteTest, SiteRootShowsItsAccessFile)
{
    const std::wstring file = Folder(L"site1") + L".htaccess";
    ASSERT_TRUE(TestSupport::WriteWholeFile(file, "RewriteEngine On\r\nRewriteRule ^/shop$ /shop/ [R]\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC/1/ROOT/"));
    EXPECT_EQ(PathField(), file);
    EXPECT_EQ(TextField(), L"RewriteEngine On\r\nRewriteRule ^/shop$ /shop/ [R]\r\n");
    for (int id : {IDC_EDIT, IDC_IMPORT, IDC_PROXY})
        EXPECT_TRUE(Enabled(id)) << id;
    ::Sleep(300);
    TestSupport::PumpMessages();
    TestSupport::SaveWindowScreenshot(sheet_->GetHwnd(), ScreenshotPath(L"quillpage-page-site.bmp"));
    ::DeleteFileW(file.c_str());
}

struct FolderCase {
    const wchar_t* metaPath;
    const wchar_t* folder;  // below the test's base folder
};

class SitePageFolderTest : public SitePageSiteTest, public ::testing::WithParamInterface<FolderCase> {};

TEST_P(SitePageFolderTest, FolderWithoutAccessFileShowsFolderAndFirstName)
{
    ASSERT_TRUE(OpenPage(GetParam().metaPath));
    EXPECT_EQ(PathField(), Folder(GetParam().folder) + L".htaccess");
    EXPECT_EQ(TextField(), L"");
}

INSTANTIATE_TEST_SUITE_P(Nodes, SitePageFolderTest, ::testing::Values(
    FolderCase{L"/LM/W3SVC/1/ROOT/", L"site1"},
    FolderCase{L"/LM/W3SVC/1/ROOT", L"site1"},
    FolderCase{L"/lm/w3svc/1/root/shop/images/", L"shop\\images"},
    FolderCase{L"/LM/W3SVC/2/ROOT/", L"site2"}));

struct AccessFileCase {
    const char* name;
    bool config;
    bool htaccess;
    const wchar_t* shown;
};

class SitePageAccessFileTest : public SitePageSiteTest, public ::testing::WithParamInterface<AccessFileCase> {};

TEST_P(SitePageAccessFileTest, FirstExistingNameOfTheServerFilesListWins)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "AccessFileName .config .htaccess\r\n"));
    const std::wstring folder = Folder(L"site1");
    if (GetParam().config) {
        ASSERT_TRUE(TestSupport::WriteWholeFile(folder + L".config", "# config\r\n"));
    }
    if (GetParam().htaccess) {
        ASSERT_TRUE(TestSupport::WriteWholeFile(folder + L".htaccess", "# htaccess\r\n"));
    }
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC/1/ROOT/"));
    EXPECT_EQ(PathField(), folder + GetParam().shown);
    CloseSheet();
    ::DeleteFileW((folder + L".config").c_str());
    ::DeleteFileW((folder + L".htaccess").c_str());
}

INSTANTIATE_TEST_SUITE_P(Lists, SitePageAccessFileTest, ::testing::Values(
    AccessFileCase{"Both", true, true, L".config"},
    AccessFileCase{"OnlyTheSecond", false, true, L".htaccess"},
    AccessFileCase{"Neither", false, false, L".config"}),
    [](const ::testing::TestParamInfo<AccessFileCase>& info) { return std::string(info.param.name); });

// The shown file is whichever name of the access-file list the folder's files choose now: the page
// follows deletions, creations and saves of any of them.
TEST_F(SitePageSiteTest, PageFollowsTheFileItShowsAcrossTheAccessFileNames)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "AccessFileName .config .htaccess\r\n"));
    const std::wstring config = Folder(L"site1") + L".config";
    const std::wstring htaccess = Folder(L"site1") + L".htaccess";
    ASSERT_TRUE(TestSupport::WriteWholeFile(config, "# config\r\n"));
    ASSERT_TRUE(TestSupport::WriteWholeFile(htaccess, "# htaccess\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC/1/ROOT/"));
    ASSERT_EQ(PathField(), config);
    ASSERT_EQ(TextField(), L"# config\r\n");

    const struct {
        const char* step;
        std::function<bool()> change;
        std::wstring path;
        std::wstring text;
    } steps[] = {
        {"the first name deleted", [&] { return ::DeleteFileW(config.c_str()) != FALSE; }, htaccess, L"# htaccess\r\n"},
        {"the second one saved",
         [&] {
             if (!WaitForLaterWriteTime(htaccess))
                 return false;
             ReplaceFile(htaccess, "# htaccess saved\r\n");
             return true;
         },
         htaccess, L"# htaccess saved\r\n"},
        {"the second one written in place",
         [&] { return WaitForLaterWriteTime(htaccess) && TestSupport::WriteWholeFile(htaccess, "# in place\r\n"); },
         htaccess, L"# in place\r\n"},
        {"the first name created again", [&] { return TestSupport::WriteWholeFile(config, "# config again\r\n"); },
         config, L"# config again\r\n"},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(step.change()) << step.step;
        EXPECT_TRUE(WaitUntil([&] { return PathField() == step.path && TextField() == step.text; }, kShowMs))
            << step.step << ": " << TestSupport::Narrow(PathField()) << " / " << TestSupport::Narrow(TextField());
    }
    CloseSheet();
    ::DeleteFileW(config.c_str());
    ::DeleteFileW(htaccess.c_str());
}

// The server file names the site's file: while another program holds it, the page does not take
// the default name for the file's word, says so, and shows the site's file once a read gets in;
// the watcher then follows that file.
TEST_F(SitePageSiteTest, HeldServerFileIsWaitedForNotTakenForTheDefaults)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "AccessFileName .config\r\n"));
    const std::wstring htaccess = Folder(L"site1") + L".htaccess";
    const std::wstring config = Folder(L"site1") + L".config";
    ASSERT_TRUE(TestSupport::WriteWholeFile(htaccess, "# the default name\r\n"));
    Framework::ScopedFile holder = Hold(serverFile_, GENERIC_WRITE, 0);
    ASSERT_TRUE(holder) << ::GetLastError();
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC/1/ROOT/"));
    EXPECT_EQ(PathField(), serverFile_);
    EXPECT_EQ(TextField(), Framework::LoadResourceString(IDS_SERVER_FILE_UNREADABLE, library_.Get()));
    for (int id : {IDC_EDIT, IDC_IMPORT, IDC_PROXY})
        EXPECT_FALSE(Enabled(id)) << id;
    TestSupport::PumpMessages();
    TestSupport::SaveWindowScreenshot(sheet_->GetHwnd(), ScreenshotPath(L"quillpage-page-server-file-held.bmp"));

    WaitUntil([] { return false; }, 2 * CSitePropertyPage::kSlowReadRetryIntervalMs);
    EXPECT_EQ(PathField(), serverFile_);
    holder.Reset();
    EXPECT_TRUE(WaitUntil([&] { return PathField() == config; }, CSitePropertyPage::kSlowReadRetryIntervalMs + kShowMs))
        << TestSupport::Narrow(PathField());
    EXPECT_EQ(TextField(), L"");
    for (int id : {IDC_EDIT, IDC_IMPORT, IDC_PROXY})
        EXPECT_TRUE(Enabled(id)) << id;
    ASSERT_TRUE(TestSupport::WriteWholeFile(config, "RewriteEngine On\r\n"));
    EXPECT_TRUE(WaitForText(L"RewriteEngine On\r\n"));
    CloseSheet();
    ::DeleteFileW(config.c_str());
    ::DeleteFileW(htaccess.c_str());
}

TEST_F(SitePageSiteTest, AccessFileCreatedLaterIsShown)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC/2/ROOT/"));
    const std::wstring file = Folder(L"site2") + L".htaccess";
    ASSERT_EQ(PathField(), file);
    ASSERT_TRUE(TestSupport::WriteWholeFile(file, "RewriteEngine On\r\n"));
    EXPECT_TRUE(WaitForText(L"RewriteEngine On\r\n"));
    CloseSheet();
    ::DeleteFileW(file.c_str());
}

// A folder the store names with "/" alone gives a shown path without "\": the page has no watcher
// there, and opens, shows the file and runs its commands all the same.
TEST_F(SitePageSiteTest, PathWithoutBackslashLeavesThePageWorking)
{
    std::wstring folder = Folder(L"site1");
    for (wchar_t& c : folder) {
        if (c == L'\\')
            c = L'/';
    }
    ASSERT_TRUE(TestSupport::UseSiteDescription(files_.Description(L"site 3 Slashes\nroot " + folder + L"\n")));
    const std::wstring file = Folder(L"site1") + L".htaccess";
    ASSERT_TRUE(TestSupport::WriteWholeFile(file, "RewriteEngine On\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC/3/ROOT/"));
    ASSERT_EQ(PathField(), folder + L".htaccess");
    EXPECT_EQ(TextField(), L"RewriteEngine On\r\n");
    PageTest::ModalDriver driver(L"Proxy settings", [&](HWND dialog) {
        PageTest::SetItemText(dialog, IDC_SEND_TIMEOUT, L"7");
        PageTest::PostClick(dialog, IDOK);
    });
    Click(IDC_PROXY);
    ASSERT_TRUE(driver.Join());
    const std::string expected = "RewriteEngine On\r\n\r\n<Orvane>\r\nProxySendTimeout 7\r\n</Orvane>";
    EXPECT_EQ(FileBytes(file), expected);
    EXPECT_EQ(TextField(), TestSupport::Widen(expected));
    CloseSheet();
    ::DeleteFileW(file.c_str());
}

TEST_F(SitePageSiteTest, UnknownSiteOpensWithoutAFolder)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC/9/ROOT/"));
    EXPECT_EQ(PathField(), Framework::LoadResourceString(IDS_NO_FOLDER, library_.Get()));
    EXPECT_FALSE(Enabled(IDC_EDIT));
}

TEST_F(SitePageTest, DataObjectWithoutThePathGivesNoPage)
{
    Framework::ComPtr<TestDataObject> data(new TestDataObject(L"/LM/W3SVC//", DV_E_FORMATETC));
    Framework::ComPtr<TestCallback> callback(new TestCallback());
    EXPECT_EQ(CreatePages(data.Get(), callback.Get()), DV_E_FORMATETC);
    EXPECT_TRUE(callback->pages.empty());
    EXPECT_EQ(CreatePages(nullptr, callback.Get()), E_POINTER);
    EXPECT_TRUE(callback->pages.empty());
}

TEST_F(SitePageTest, RefusedPageIsDestroyedAndItsResultPassedOn)
{
    Framework::ComPtr<TestDataObject> data(new TestDataObject(L"/LM/W3SVC//"));
    Framework::ComPtr<TestCallback> callback(new TestCallback(E_ABORT));
    EXPECT_EQ(CreatePages(data.Get(), callback.Get()), E_ABORT);
    // The page description that never reached a sheet took its page object with it.
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(SitePageTest, PageThatIsNeverShownDoesNotLeak)
{
    Framework::ComPtr<TestDataObject> data(new TestDataObject(L"/LM/W3SVC//"));
    Framework::ComPtr<TestCallback> callback(new TestCallback());
    ASSERT_EQ(CreatePages(data.Get(), callback.Get()), S_OK);
    ASSERT_EQ(callback->pages.size(), 1u);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    EXPECT_TRUE(::DestroyPropertySheetPage(callback->pages.front()));
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(SitePageTest, OpenPageKeepsTheLibraryLoaded)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    // The page's dialog procedure and its watcher run in the library.
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    CloseSheet();
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(SitePageTest, ExtensionAnswersEveryNodeAndItsOwnInterfaces)
{
    Framework::ComPtr<IExtendPropertySheet> extension = Extension();
    ASSERT_TRUE(extension);
    EXPECT_EQ(extension->QueryPagesFor(nullptr), S_OK);
    Framework::ComPtr<IUnknown> unknown;
    EXPECT_EQ(extension.QueryInterface(IID_IUnknown, unknown), S_OK);
    Framework::ComPtr<ISnapinAbout> about;
    EXPECT_EQ(extension.QueryInterface(IID_ISnapinAbout, about), E_NOINTERFACE);
    EXPECT_FALSE(about);
    EXPECT_EQ(extension->QueryInterface(IID_IUnknown, nullptr), E_FAIL);
}

TEST_F(SitePageTest, WatcherShowsTheFileReplacedByAnotherProgram)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    ASSERT_EQ(TextField(), L"RewriteEngine Off\r\n");

    // Another file of the folder changes: no refresh.
    MarkText();
    ASSERT_TRUE(TestSupport::WriteWholeFile(install_->File(L"other.txt"), "x"));
    WaitUntil([] { return false; }, 1500);
    EXPECT_EQ(TextField(), L"<marker>");

    ASSERT_TRUE(WaitForLaterWriteTime(serverFile_));
    ReplaceFile(serverFile_, "RewriteEngine On\r\n");
    EXPECT_TRUE(WaitForText(L"RewriteEngine On\r\n")) << TestSupport::Narrow(TextField());

    // Written in place, too.
    ASSERT_TRUE(WaitForLaterWriteTime(serverFile_));
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteBase /x\r\n"));
    EXPECT_TRUE(WaitForText(L"RewriteBase /x\r\n")) << TestSupport::Narrow(TextField());
}

TEST_F(SitePageTest, WatcherWaitsForAWriterThatLocksTheFile)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    ASSERT_TRUE(WaitForLaterWriteTime(serverFile_));
    Framework::ScopedFile writer = Hold(serverFile_, GENERIC_WRITE, 0);
    ASSERT_TRUE(writer);
    const std::string text = "RewriteEngine On\r\n";
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(writer.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr));
    ASSERT_TRUE(::SetEndOfFile(writer.Get()));
    ASSERT_TRUE(::FlushFileBuffers(writer.Get()));
    // While the writer holds the file no reader gets in: the page keeps what it shows rather than
    // showing an empty text.
    WaitUntil([] { return false; }, 1500);
    EXPECT_EQ(TextField(), L"RewriteEngine Off\r\n");
    writer.Reset();
    EXPECT_TRUE(WaitForText(L"RewriteEngine On\r\n")) << TestSupport::Narrow(TextField());
}

TEST_F(SitePageTest, WatcherShowsAFileCreatedAfterThePageOpened)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    ASSERT_EQ(TextField(), L"");
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine On\r\n"));
    EXPECT_TRUE(WaitForText(L"RewriteEngine On\r\n"));
    ASSERT_TRUE(::DeleteFileW(serverFile_.c_str()));
    EXPECT_TRUE(WaitForText(L""));
}

struct HeldSaveCase {
    const char* name;
    SaveWay way;
    DWORD holdMs;
};

class SitePageHeldSaveTest : public SitePageTest, public ::testing::WithParamInterface<HeldSaveCase> {};

// While the program that saves the shown file keeps the page's read out, the page keeps the text
// it showed; once the read gets in it shows the saved text. It shows no empty text on the way,
// except while a deleted file is not there yet.
TEST_P(SitePageHeldSaveTest, PageKeepsItsTextUntilTheSavedTextCanBeRead)
{
    const std::string before = "RewriteEngine Off\r\n";
    const std::string saved = "RewriteEngine On\r\nRewriteBase /held\r\n";
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, before));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    ASSERT_EQ(TextField(), TestSupport::Widen(before));
    ASSERT_TRUE(WaitForLaterWriteTime(serverFile_));

    ShownTexts texts(::GetDlgItem(page_, IDC_TEXT));
    Saver saver(GetParam().way, serverFile_, saved, GetParam().holdMs);
    const bool shown =
        texts.WaitFor(TestSupport::Widen(saved), GetParam().holdMs + kWatcherWaitMs + kReadRetriesMs + kShowMs);
    ASSERT_EQ(saver.Join(), 0u);
    EXPECT_TRUE(shown) << texts.Describe() << "/ file: " << FileBytes(serverFile_);
    std::vector<std::wstring> allowed = {TestSupport::Widen(before), TestSupport::Widen(saved)};
    if (GetParam().way == SaveWay::DeletedThenCreated)
        allowed.push_back(L"");
    EXPECT_TRUE(texts.OnlyShowed(allowed)) << texts.Describe();
}

INSTANTIATE_TEST_SUITE_P(Holders, SitePageHeldSaveTest, ::testing::Values(
    HeldSaveCase{"HeldAfterAMove", SaveWay::HeldAfterMove, kHoldMs},
    HeldSaveCase{"HeldForDeleteDuringAWriteInPlace", SaveWay::HeldForDeleteDuringWriteInPlace, kHoldMs},
    HeldSaveCase{"HeldWithoutSharingLongerThanTheWatcherWaits", SaveWay::HeldWithoutSharing, kWatcherWaitMs + kHoldMs},
    HeldSaveCase{"DeletedThenCreated", SaveWay::DeletedThenCreated, kHoldMs}),
    [](const ::testing::TestParamInfo<HeldSaveCase>& info) { return std::string(info.param.name); });

// A file that stays unreadable is not shown as empty: after its quick retries the page says that it
// cannot be read, and it shows the text once the holder lets go, long after. The commands still
// work on the file, not on the shown text: the proxy settings go into its own text, which the page
// then shows.
TEST_F(SitePageTest, FileThatStaysUnreadableIsSaidToBeSo)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine On\r\n"));
    Framework::ScopedFile holder = Hold(serverFile_, GENERIC_WRITE, 0);
    ASSERT_TRUE(holder) << ::GetLastError();
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    EXPECT_EQ(PathField(), serverFile_);
    const std::wstring unreadable = Framework::LoadResourceString(IDS_FILE_UNREADABLE, library_.Get());
    ASSERT_FALSE(unreadable.empty());
    ShownTexts texts(::GetDlgItem(page_, IDC_TEXT));
    EXPECT_TRUE(texts.WaitFor(unreadable, kReadRetriesMs + kShowMs)) << texts.Describe();
    EXPECT_TRUE(texts.OnlyShowed({L"", unreadable})) << texts.Describe();
    for (int id : {IDC_EDIT, IDC_IMPORT, IDC_PROXY})
        EXPECT_TRUE(Enabled(id)) << id;
    TestSupport::PumpMessages();
    TestSupport::SaveWindowScreenshot(sheet_->GetHwnd(), ScreenshotPath(L"quillpage-page-file-unreadable.bmp"));

    // Past every quick retry, and without a write that the watcher would see, the page keeps
    // reading the file until it gets in.
    WaitUntil([] { return false; }, 2 * CSitePropertyPage::kSlowReadRetryIntervalMs);
    holder.Reset();
    EXPECT_TRUE(texts.WaitFor(L"RewriteEngine On\r\n", CSitePropertyPage::kSlowReadRetryIntervalMs + kShowMs))
        << texts.Describe();

    PageTest::ModalDriver driver(L"Proxy settings", [&](HWND dialog) {
        PageTest::SetItemText(dialog, IDC_CONNECT_TIMEOUT, L"90");
        PageTest::PostClick(dialog, IDOK);
    });
    Click(IDC_PROXY);
    ASSERT_TRUE(driver.Join());
    const std::string expected = "RewriteEngine On\r\n\r\n<Orvane>\r\nProxyConnectTimeout 90\r\n</Orvane>";
    EXPECT_EQ(FileBytes(serverFile_), expected);
    EXPECT_EQ(TextField(), TestSupport::Widen(expected));
}

// A holder that keeps the shown file from the page's read keeps it from the proxy settings too:
// the dialog shows the file's own values or, where no read gets in, does not open at all, and the
// settings the user did not touch stay in the file.
struct HeldProxyCase {
    const char* name;
    DWORD holderShare;
};

class SitePageHeldProxyTest : public SitePageTest, public ::testing::WithParamInterface<HeldProxyCase> {};

TEST_P(SitePageHeldProxyTest, ProxySettingsOfAHeldFileLoseNoSetting)
{
    const std::string original = "RewriteEngine On\r\n<Orvane>\r\nProxyReceiveTimeout 5\r\n</Orvane>\r\n";
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, original));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    Framework::ScopedFile holder = Hold(serverFile_, GENERIC_WRITE, GetParam().holderShare);
    ASSERT_TRUE(holder) << ::GetLastError();
    const bool readable = GetParam().holderShare != 0;

    // The user sets the connect time-out while the holder lets go.
    std::wstring receiveShown;
    auto setConnect = [&](HWND dialog) {
        receiveShown = PageTest::ItemText(dialog, IDC_RECEIVE_TIMEOUT);
        holder.Reset();
        PageTest::SetItemText(dialog, IDC_CONNECT_TIMEOUT, L"90");
        PageTest::PostClick(dialog, IDOK);
    };
    {
        TestSupport::BoxAnswerer box(L"Error", IDOK);
        PageTest::ModalDriver driver(L"Proxy settings", setConnect, readable ? 20000 : 2000);
        Click(IDC_PROXY);
        EXPECT_EQ(driver.Join(), readable);
        if (!readable) {
            EXPECT_EQ(box.Text(), Framework::LoadResourceString(IDS_PROXY_CANNOT_READ, library_.Get()));
            EXPECT_EQ(box.Owner(), sheet_->GetHwnd());
        }
    }
    if (!readable) {
        holder.Reset();
        EXPECT_EQ(FileBytes(serverFile_), original);
        PageTest::ModalDriver driver(L"Proxy settings", setConnect);
        Click(IDC_PROXY);
        ASSERT_TRUE(driver.Join());
    }
    EXPECT_EQ(receiveShown, L"5");
    EXPECT_EQ(FileBytes(serverFile_),
              "RewriteEngine On\r\n\r\n\r\n<Orvane>\r\nProxyConnectTimeout 90\r\nProxyReceiveTimeout 5\r\n</Orvane>");
}

INSTANTIATE_TEST_SUITE_P(Holders, SitePageHeldProxyTest, ::testing::Values(
    HeldProxyCase{"SharingReadingAndWriting", FILE_SHARE_READ | FILE_SHARE_WRITE},
    HeldProxyCase{"SharingWithNobody", 0}),
    [](const ::testing::TestParamInfo<HeldProxyCase>& info) { return std::string(info.param.name); });

// The host destroys the sheet while a command's modal window is up (a node removed, the host
// ending). The page lives until the command is back, which then touches nothing of the page's
// window: nothing crashes, the file stays as it was, and then the page is gone.
struct SheetGoneCase {
    const char* name;
    int command;
    const wchar_t* modalCaption;
    bool withoutEditor;
};

class SitePageSheetGoneTest : public SitePageTest, public ::testing::WithParamInterface<SheetGoneCase> {
protected:
    // On the test thread, in the command's modal loop: once the command's window shows, destroys
    // the sheet and asks the module whether it still holds an object; then closes the command's
    // window should it have outlived the sheet.
    static void CALLBACK DestroySheetOnceModal(HWND, UINT, UINT_PTR timer, DWORD)
    {
        SitePageSheetGoneTest* self = current_;
        std::vector<HWND> modal = TestSupport::FindTopWindows(0, L"#32770", GetParam().modalCaption);
        if (modal.empty())
            return;
        ::KillTimer(nullptr, timer);
        self->sheet_->DestroyWindow();
        self->unloadWhileRunning_ = self->canUnloadNow_();
        if (::IsWindow(modal.front()))
            ::PostMessageW(modal.front(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }

    static SitePageSheetGoneTest* current_;
    HRESULT unloadWhileRunning_ = E_PENDING;
};

SitePageSheetGoneTest* SitePageSheetGoneTest::current_ = nullptr;

TEST_P(SitePageSheetGoneTest, PageOutlivesItsCommandButTouchesNoWindowAfterIt)
{
    const std::string original = "RewriteEngine On\r\n";
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, original));
    if (GetParam().withoutEditor) {
        ASSERT_TRUE(::DeleteFileW(install_->File(L"Quillpen.exe").c_str()));
    }
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    current_ = this;
    ASSERT_NE(::SetTimer(nullptr, 0, 50, &DestroySheetOnceModal), 0u);
    Click(GetParam().command);
    current_ = nullptr;

    EXPECT_EQ(unloadWhileRunning_, S_FALSE) << "the page was freed while its command ran";
    EXPECT_FALSE(sheet_->IsWindow());
    EXPECT_EQ(FileBytes(serverFile_), original);
    EXPECT_EQ(FileBytes(serverFile_ + L".bak"), "<missing>");
    TestSupport::PumpMessages();
    EXPECT_EQ(canUnloadNow_(), S_OK);
    page_ = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Commands, SitePageSheetGoneTest, ::testing::Values(
    SheetGoneCase{"ProxySettings", IDC_PROXY, L"Proxy settings", false},
    SheetGoneCase{"ImportFileDialog", IDC_IMPORT, L"Open", false},
    SheetGoneCase{"EditErrorBox", IDC_EDIT, L"Error", true}),
    [](const ::testing::TestParamInfo<SheetGoneCase>& info) { return std::string(info.param.name); });

// Saves from another thread in each of the ways above, with short holds, while the machine has
// more busy threads than cores: after each save the page shows the saved text, and on the way no
// text but the one before and the saved one (and an empty one while a deleted file is not there).
TEST_F(SitePageTest, EverySaveFromAnotherThreadShowsOnABusyMachine)
{
    constexpr int kSaves = 250;
    constexpr SaveWay kWays[] = {SaveWay::Replaced, SaveWay::HeldAfterMove, SaveWay::HeldForDeleteDuringWriteInPlace,
                                 SaveWay::HeldWithoutSharing, SaveWay::DeletedThenCreated};
    constexpr size_t kWayCount = sizeof kWays / sizeof kWays[0];
    constexpr DWORD kShortHoldsMs[] = {0, 5, 20, 60};
    constexpr size_t kHoldCount = sizeof kShortHoldsMs / sizeof kShortHoldsMs[0];
    // A page that misses this many saves has failed for good; the run stops there.
    constexpr int kMaxMissed = 10;

    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "# before the saves\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    ShownTexts texts(::GetDlgItem(page_, IDC_TEXT));
    std::wstring before = TextField();
    int saves = 0, shown = 0, missed = 0, strayed = 0;
    // Each missed or strayed save: its number and way, what the page showed, what the file holds.
    std::string faults;
    {
        BusyMachine busy;
        for (; saves < kSaves && missed < kMaxMissed; ++saves) {
            const SaveWay way = kWays[saves % kWayCount];
            const std::string text = "# save " + std::to_string(saves) + "\r\nRewriteEngine On\r\n";
            const std::wstring wide = TestSupport::Widen(text);
            ASSERT_TRUE(WaitForLaterWriteTime(serverFile_));
            texts.Restart();
            Saver saver(way, serverFile_, text, kShortHoldsMs[(saves / kWayCount) % kHoldCount]);
            const bool ok = texts.WaitFor(wide, kShowMs);
            ASSERT_EQ(saver.Join(), 0u) << "save " << saves;
            ok ? ++shown : ++missed;
            std::vector<std::wstring> allowed = {before, wide};
            if (way == SaveWay::DeletedThenCreated)
                allowed.push_back(L"");
            const bool stray = !texts.OnlyShowed(allowed);
            strayed += stray;
            if (!ok || stray) {
                faults += "\n  save " + std::to_string(saves) + " (way " + std::to_string(saves % kWayCount) +
                          "): " + texts.Describe() + "/ file: " + FileBytes(serverFile_);
            }
            before = texts.Seen().back();
        }
    }
    std::cout << "Saves: " << saves << ", showed the saved text: " << shown << ", missed: " << missed
              << ", showed another text on the way: " << strayed << std::endl;
    EXPECT_EQ(shown, kSaves) << faults;
    EXPECT_EQ(strayed, 0) << faults;
}

TEST_F(SitePageTest, ApplyChangesNothingOnDisk)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine On\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    // A refresh marks the page changed, which enables Apply.
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    ASSERT_TRUE(WaitForText(L"RewriteEngine Off\r\n"));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(sheet_->GetHwnd(), kApplyButton)));
    WIN32_FILE_ATTRIBUTE_DATA before{};
    ASSERT_TRUE(::GetFileAttributesExW(serverFile_.c_str(), GetFileExInfoStandard, &before));
    ::SendMessageW(sheet_->GetHwnd(), PSM_APPLY, 0, 0);
    TestSupport::PumpMessages();
    WIN32_FILE_ATTRIBUTE_DATA after{};
    ASSERT_TRUE(::GetFileAttributesExW(serverFile_.c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ(::CompareFileTime(&before.ftLastWriteTime, &after.ftLastWriteTime), 0);
    EXPECT_EQ(FileBytes(serverFile_), "RewriteEngine Off\r\n");
}

TEST_F(SitePageTest, EditStartsTheEditorAndItsSaveShowsInThePage)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    Click(IDC_EDIT);
    // The editor's caption names the file it opened from the whole, unquoted parameter string.
    HWND frame = TestSupport::WaitForChildProcessWindow(::GetCurrentProcessId(), Orvane::Quillpen::kFrameClassName,
                                                        L"httpd.conf - Orvane Quillpen", 30000);
    ASSERT_TRUE(frame) << "Quillpen did not open the shown file";
    HWND view = ::FindWindowExW(frame, nullptr, Orvane::Quillpen::kViewClassName, nullptr);
    ASSERT_TRUE(view);
    const std::wstring typed = L"RewriteEngine On\r\nRewriteRule ^/old$ /new [R=301]\r\n";
    ::SendMessageW(view, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    ::SendMessageW(view, EM_SETMODIFY, TRUE, 0);
    ::PostMessageW(frame, WM_COMMAND, MAKEWPARAM(kQuillpenApplyCommand, 0), 0);
    ASSERT_TRUE(WaitUntil([&] { return TextField().find(L"RewriteRule ^/old$ /new [R=301]") != std::wstring::npos; },
                          20000))
        << TestSupport::Narrow(TextField());
    EXPECT_EQ(TextField(), TestSupport::Widen(FileBytes(serverFile_)));
}

TEST_F(SitePageTest, EditWithoutTheEditorSaysSo)
{
    ASSERT_TRUE(::DeleteFileW(install_->File(L"Quillpen.exe").c_str()));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    TestSupport::BoxAnswerer box(L"Error", IDOK);
    Click(IDC_EDIT);
    EXPECT_TRUE(WaitUntil([&] { return box.Answered(); }, 10000));
    EXPECT_EQ(box.Text(), L"Can't open rule editor.");
    // Owned by the page's window, that is by the sheet it stands in.
    EXPECT_EQ(box.Owner(), sheet_->GetHwnd());
}

// Import: the file dialog is answered from a second thread with the chosen old-syntax file.
class SitePageImportTest : public SitePageTest {
protected:
    // Clicks Import and answers the file dialog with the file (null: Cancel). The error box's text,
    // empty when none came.
    std::wstring Import(const std::wstring* chosen)
    {
        PageTest::ModalDriver driver(L"Open", [&](HWND dialog) {
            if (chosen) {
                HWND field = ::GetDlgItem(dialog, kFileNameCombo);
                if (!field)
                    field = ::GetDlgItem(dialog, kFileNameEdit);
                ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen->c_str()));
                PageTest::PostClick(dialog, IDOK);
            } else {
                PageTest::PostClick(dialog, IDCANCEL);
            }
        });
        TestSupport::BoxAnswerer box(L"Error", IDOK);
        Click(IDC_IMPORT);
        EXPECT_TRUE(driver.Join()) << "no file dialog";
        TestSupport::PumpMessages();
        return box.Answered() ? box.Text() : std::wstring();
    }

    // Writes an old-syntax file beside the module; its path.
    std::wstring OldFile(const wchar_t* name) const
    {
        const std::wstring old = install_->File(name);
        EXPECT_TRUE(TestSupport::WriteWholeFile(old, kOldSyntax));
        return old;
    }

    // The shown file holds a conversion, and the page shows it.
    void ExpectConvertedFileShown() const
    {
        const std::string converted = FileBytes(serverFile_);
        EXPECT_NE(converted.find("RewriteRule"), std::string::npos) << converted;
        EXPECT_EQ(TextField(), TestSupport::Widen(converted));
    }

    static constexpr char kOldSyntax[] = "[ISAPI_Rewrite]\r\nRewriteRule /old/(.*) /new/$1 [I,RP]\r\n";
};

TEST_F(SitePageImportTest, ConvertedFileIsShownAndTheOldOneKeptAsBak)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    ASSERT_TRUE(TestSupport::WriteWholeFile(install_->File(L"bak"), "older backup"));
    ASSERT_TRUE(::MoveFileW(install_->File(L"bak").c_str(), (serverFile_ + L".bak").c_str()));
    const std::wstring old = OldFile(L"old httpd.ini");
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));

    EXPECT_EQ(Import(&old), L"");
    ExpectConvertedFileShown();
    EXPECT_EQ(FileBytes(serverFile_ + L".bak"), "RewriteEngine Off\r\n");
    EXPECT_EQ(FileBytes(old), kOldSyntax);
}

TEST_F(SitePageImportTest, CancelChangesNothingButRefreshes)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    MarkText();
    EXPECT_EQ(Import(nullptr), L"");
    EXPECT_EQ(TextField(), L"RewriteEngine Off\r\n");
    EXPECT_EQ(FileBytes(serverFile_), "RewriteEngine Off\r\n");
    EXPECT_EQ(FileBytes(serverFile_ + L".bak"), "<missing>");
}

TEST_F(SitePageImportTest, FailedConversionRestoresTheFile)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    const std::wstring missing = install_->File(L"missing.ini");
    EXPECT_EQ(Import(&missing), Framework::LoadResourceString(IDS_IMPORT_FAILED, library_.Get()));
    EXPECT_EQ(FileBytes(serverFile_), "RewriteEngine Off\r\n");
    EXPECT_EQ(FileBytes(serverFile_ + L".bak"), "<missing>");
    EXPECT_EQ(TextField(), L"RewriteEngine Off\r\n");
}

TEST_F(SitePageImportTest, MissingConverterRestoresTheFileAndSaysSo)
{
    ASSERT_TRUE(::DeleteFileW(install_->File(L"Quillshift.exe").c_str()));
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    const std::wstring old = OldFile(L"httpd.ini");
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    EXPECT_EQ(Import(&old), L"Can't open syntax converter.");
    EXPECT_EQ(FileBytes(serverFile_), "RewriteEngine Off\r\n");
    EXPECT_EQ(FileBytes(serverFile_ + L".bak"), "<missing>");
}

TEST_F(SitePageImportTest, FailedConversionOfANewFileLeavesNoEmptyFile)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    const std::wstring missing = install_->File(L"missing.ini");
    EXPECT_FALSE(Import(&missing).empty());
    EXPECT_EQ(FileBytes(serverFile_), "<missing>");
}

// Only a file that is not there yet goes without a backup.
TEST_F(SitePageImportTest, MissingFileIsConvertedWithoutABackup)
{
    const std::wstring old = OldFile(L"httpd.ini");
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    EXPECT_EQ(Import(&old), L"");
    ExpectConvertedFileShown();
    EXPECT_EQ(FileBytes(serverFile_ + L".bak"), "<missing>");
}

// What keeps the shown file from being renamed to its backup.
enum class BackupBlocker { BackupIsAFolder, BackupHeldOpen, FileHeldOpen };

struct BackupCase {
    const char* name;
    BackupBlocker blocker;
};

class SitePageBackupTest : public SitePageImportTest, public ::testing::WithParamInterface<BackupCase> {};

// A file that exists but cannot be kept as its backup is not converted over: the file and what
// stands at the backup's name stay as they were, and the page says why.
TEST_P(SitePageBackupTest, FileThatCannotBeBackedUpIsNotReplaced)
{
    const BackupBlocker blocker = GetParam().blocker;
    const std::wstring backup = serverFile_ + L".bak";
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine Off\r\n"));
    if (blocker == BackupBlocker::BackupIsAFolder) {
        ASSERT_TRUE(::CreateDirectoryW(backup.c_str(), nullptr));
    } else {
        ASSERT_TRUE(TestSupport::WriteWholeFile(backup, "older backup"));
    }
    // Held as a reader holds a file: others may read and write it, but not rename or delete it.
    Framework::ScopedFile holder;
    if (blocker != BackupBlocker::BackupIsAFolder) {
        const std::wstring& held = blocker == BackupBlocker::FileHeldOpen ? serverFile_ : backup;
        holder = Hold(held, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(holder) << ::GetLastError();
    }
    const std::wstring old = OldFile(L"httpd.ini");
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    MarkText();

    EXPECT_EQ(Import(&old), Framework::LoadResourceString(IDS_IMPORT_NO_BACKUP, library_.Get()));
    holder.Reset();
    EXPECT_EQ(FileBytes(serverFile_), "RewriteEngine Off\r\n");
    EXPECT_EQ(TextField(), L"RewriteEngine Off\r\n");
    if (blocker == BackupBlocker::BackupIsAFolder) {
        const DWORD attributes = ::GetFileAttributesW(backup.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        CloseSheet();
        ::RemoveDirectoryW(backup.c_str());
    } else {
        EXPECT_EQ(FileBytes(backup), "older backup");
    }
}

INSTANTIATE_TEST_SUITE_P(Blockers, SitePageBackupTest, ::testing::Values(
    BackupCase{"BackupIsAFolder", BackupBlocker::BackupIsAFolder},
    BackupCase{"BackupHeldOpen", BackupBlocker::BackupHeldOpen},
    BackupCase{"FileHeldOpen", BackupBlocker::FileHeldOpen}),
    [](const ::testing::TestParamInfo<BackupCase>& info) { return std::string(info.param.name); });

TEST_F(SitePageTest, ProxySettingsWriteTheSectionAndThePageShowsIt)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(serverFile_, "RewriteEngine On\r\n"));
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    PageTest::ModalDriver driver(L"Proxy settings", [&](HWND dialog) {
        PageTest::SetItemText(dialog, IDC_CONNECT_TIMEOUT, L"90");
        PageTest::PostClick(dialog, IDOK);
    });
    Click(IDC_PROXY);
    ASSERT_TRUE(driver.Join());
    EXPECT_TRUE(driver.Closed());
    const std::string expected = "RewriteEngine On\r\n\r\n<Orvane>\r\nProxyConnectTimeout 90\r\n</Orvane>";
    EXPECT_EQ(FileBytes(serverFile_), expected);
    EXPECT_EQ(TextField(), TestSupport::Widen(expected));
}

TEST_F(SitePageTest, HelpButtonTakesTheHtmlHelpLibraryOnFirstUse)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    ASSERT_EQ(::GetModuleHandleW(L"hhctrl.ocx"), nullptr);
    ::SendMessageW(sheet_->GetHwnd(), PSM_PRESSBUTTON, PSBTN_HELP, 0);
    WaitUntil([] { return ::GetModuleHandleW(L"hhctrl.ocx") != nullptr; }, 5000);
    EXPECT_NE(::GetModuleHandleW(L"hhctrl.ocx"), nullptr);
    // A help file that is not there opens nothing and reports nothing.
    EXPECT_EQ(TestSupport::FindTopWindows(0, nullptr, nullptr).size(), 1u);
}

TEST_F(SitePageTest, AboutButtonOpensTheAboutBox)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    PageTest::ModalDriver driver(L"About Quillon", [&](HWND dialog) {
        ::Sleep(300);
        TestSupport::SaveWindowScreenshot(dialog, ScreenshotPath(L"quillpage-about.bmp"));
        PageTest::PostClick(dialog, IDOK);
    });
    Click(IDC_ABOUT);
    ASSERT_TRUE(driver.Join());
    EXPECT_TRUE(driver.Closed());
}

// An accelerator's command (notification code 1) runs the command of its control id, as a click does.
TEST_F(SitePageTest, AcceleratorRunsTheCommandOfItsControl)
{
    ASSERT_TRUE(OpenPage(L"/LM/W3SVC//"));
    PageTest::ModalDriver driver(L"About Quillon", [&](HWND dialog) { PageTest::PostClick(dialog, IDOK); });
    ::SendMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_ABOUT, 1), 0);
    ASSERT_TRUE(driver.Join());
    EXPECT_TRUE(driver.Closed());
}

}
