// The real Quillpage.dll, copied with the real Quillpen.exe and Quillshift.exe into a folder of its
// own (where its "httpd.conf" lies), driven as a host drives it: the extension is created by class
// id, given a data object of the test's own, and its page is shown in a real property sheet.
#include "PageTestSupport.h"

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

#include <memory>
#include <string>

namespace {

using namespace std::string_literals;
using PageTest::TestCallback;
using PageTest::TestDataObject;
using TestSupport::kQuillpenApplyCommand;
using TestSupport::WaitUntil;
using TestSupport::WindowText;

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
    Framework::ScopedFile writer(
        ::CreateFileW(serverFile_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
        holder.Reset(::CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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
