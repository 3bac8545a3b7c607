// The whole road with the real components: Quillpage.dll registered by regsvr32 in the test prefix
// (copied with the real Quillpen.exe and Quillshift.exe into a folder of its own, where its
// "httpd.conf" lies), the IIS store stand-in answering a site description, and Orvanedock.exe
// started as its own process and driven from this one as a user would.
#include "ProgramDriver.h"

#include "Strings.h"
#include "resource.h"

#include <Framework/FileReplace.h>
#include <Framework/Handles.h>
#include <Framework/Registry.h>
#include <Framework/Resources.h>
#include <TestSupport/IisStoreStandIn.h>
#include <TestSupport/QuillpenCommands.h>
#include <TestSupport/RemoteMemory.h>
#include <TestSupport/SiteFiles.h>
#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace OrvanedockTest;
using namespace TestSupport;

namespace {

// Quillpage's property-sheet extension, as its registration writes it.
const wchar_t kExtensionClass[] = L"{8BC324A4-8A49-4E7A-B2BF-6ED3E5630C2F}";
// Quillpen's toolbar command that checks and saves the text and then closes the editor.
constexpr WORD kQuillpenApply = kQuillpenApplyCommand;

std::string FileBytes(const std::wstring& path)
{
    std::string bytes;
    return TryReadWholeFile(path, bytes) ? bytes : "<missing>";
}

std::wstring RegistryText(HKEY root, const std::wstring& path, const wchar_t* name)
{
    Framework::RegistryKey key;
    std::wstring value;
    if (key.Open(root, path) != ERROR_SUCCESS || key.QueryString(name, value) != ERROR_SUCCESS)
        return L"<missing>";
    return value;
}

// Runs the prefix's regsvr32 of this program's bitness; its exit code.
DWORD Regsvr32(const std::wstring& arguments)
{
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return STILL_ACTIVE;
    ChildProcess regsvr32;
    if (!regsvr32.Start(std::wstring(system, length) + L"\\regsvr32.exe", arguments))
        return STILL_ACTIVE;
    return regsvr32.Wait(kTimeoutMs);
}

class RoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A blank in the folder's name: the registered path and the editor's argument keep it whole.
        install_ = std::make_unique<TempFolder>(L"orvanedock road");
        for (const wchar_t* name : {L"Quillpage.dll", L"Quillpen.exe", L"Quillshift.exe"}) {
            const std::wstring from = BuildFolder() + L"\\bin\\" + name;
            ASSERT_TRUE(::CopyFileW(from.c_str(), install_->File(name).c_str(), FALSE)) << Narrow(from);
        }
        dll_ = install_->File(L"Quillpage.dll");
        serverFile_ = install_->File(L"httpd.conf");

        registered_ = true;  // a part written before a failure is removed too
        ASSERT_EQ(Regsvr32(L"/s \"" + dll_ + L"\""), 0u);
        // What the registration wrote is what Orvanedock finds and COM loads.
        ASSERT_EQ(RegistryText(HKEY_CLASSES_ROOT, L"CLSID\\" + std::wstring(kExtensionClass) + L"\\InprocServer32",
                               nullptr),
                  dll_);
        ASSERT_EQ(RegistryText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\MMC\\SnapIns\\" + std::wstring(kExtensionClass),
                               L"Provider"),
                  L"Orvane");

        ASSERT_EQ(RegisterIisStoreStandIn(), S_OK);
        files_ = std::make_unique<SiteFiles>(L"orvanedock-road");
        ASSERT_TRUE(files_->Folders({L"one\\a", L"shop"}));
        const std::wstring description = files_->Description(LR"(absent metabase
site 1 Default Web Site
root {B}\one
app /shop {B}\shop
site 2 Second
root {B}\one
)");
        ASSERT_TRUE(UseSiteDescription(description));
    }

    void TearDown() override
    {
        // The editor the page started is Orvanedock's child: ended by its id, then the program.
        if (program_->process.ProcessId())
            EndChildProcessesOf(program_->process.ProcessId());
        program_.reset();
        UseSiteDescription(L"");
        if (registered_) {
            EXPECT_EQ(Regsvr32(L"/s /u \"" + dll_ + L"\""), 0u);
            EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE,
                                   L"SOFTWARE\\Microsoft\\MMC\\SnapIns\\" + std::wstring(kExtensionClass), L"Provider"),
                      L"<missing>");
        }
        files_.reset();
        install_.reset();
    }

    // Starts Orvanedock, shows a site (no page of Quillpage there), then selects the root as a user
    // does; the hosted sheet.
    HWND StartAndSelectTheRoot()
    {
        if (!program_->Start(false))
            return nullptr;
        HTREEITEM root = program_->Item(TVGN_ROOT);
        HTREEITEM site = program_->ChildNamed(root, L"Default Web Site");
        EXPECT_NE(site, nullptr) << "the store's sites are not in the tree";
        if (site) {
            program_->Select(site);
            EXPECT_TRUE(program_->WaitForTitle(L"Orvanedock"));
            EXPECT_EQ(program_->Sheet(), nullptr);
        }
        program_->Select(root);
        if (!program_->WaitForTitle(L"Orvanedock - IIS Web Sites"))
            return nullptr;
        return program_->Sheet();
    }

    // Quillpage's page in the sheet: the field with its path and its text, read across processes.
    static std::wstring PathIn(HWND sheet) { return WindowText(FindChildById(sheet, IDC_PATH)); }
    static std::wstring TextIn(HWND sheet) { return WindowText(FindChildById(sheet, IDC_TEXT)); }

    // The title Quillpage gives its page's tab, from the registered DLL's own resources.
    std::wstring PageTitle() const
    {
        Framework::ScopedLibrary data(::LoadLibraryExW(dll_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        return data ? Framework::LoadResourceString(IDS_PAGE_TITLE, data.Get()) : L"<no library>";
    }

    std::unique_ptr<TempFolder> install_;
    std::unique_ptr<SiteFiles> files_;
    std::wstring dll_;
    std::wstring serverFile_;
    bool registered_ = false;
    Framework::ComInitialization com_;
    std::unique_ptr<Program> program_ = std::make_unique<Program>();
};

TEST_F(RoadTest, RootShowsThePageWithTheServerFileAndOkOrCancelEndsTheSheet)
{
    ASSERT_TRUE(WriteWholeFile(serverFile_, "RewriteEngine On\r\nRewriteRule ^/a$ /b\r\n"));
    HWND sheet = StartAndSelectTheRoot();
    ASSERT_NE(sheet, nullptr) << Narrow(program_->Title());
    EXPECT_TRUE(::GetWindowLongW(sheet, GWL_STYLE) & WS_CHILD) << "hosted in the frame";
    HWND tab = FindChild(sheet, [](HWND w) { return ClassNameOf(w) == L"SysTabControl32"; });
    ASSERT_NE(tab, nullptr);
    ASSERT_EQ(::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(RemoteTabText(program_->process.Handle(), tab, 0), PageTitle());
    EXPECT_EQ(PathIn(sheet), serverFile_);
    EXPECT_EQ(TextIn(sheet), L"RewriteEngine On\r\nRewriteRule ^/a$ /b\r\n");
    for (int id : {IDC_EDIT, IDC_IMPORT, IDC_PROXY, IDC_ABOUT})
        EXPECT_TRUE(::IsWindowEnabled(FindChildById(sheet, id))) << id;
    SaveScreenshot(program_->frame, L"orvanedock-road-page.bmp");

    struct Ending {
        int button;
        const char* rule;
    };
    for (const Ending& ending : {Ending{PSBTN_CANCEL, "RewriteRule ^/c$ /d"}, Ending{PSBTN_OK, "RewriteRule ^/e$ /f"}}) {
        SCOPED_TRACE(ending.rule);
        ::SendMessageW(sheet, PSM_PRESSBUTTON, ending.button, 0);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(sheet); }, kTimeoutMs, false));
        EXPECT_TRUE(WaitUntil([&] { return program_->Item(TVGN_CARET) == nullptr; }, kTimeoutMs, false))
            << "the selection stays";
        EXPECT_TRUE(program_->WaitForTitle(L"Orvanedock"));
        EXPECT_EQ(program_->Sheet(), nullptr);

        // Changed while no page is open: only a page built anew for the next selection shows it.
        const std::string text = std::string("RewriteEngine On\r\n") + ending.rule + "\r\n";
        ASSERT_TRUE(WriteWholeFile(serverFile_, text));
        program_->Select(program_->Item(TVGN_ROOT));
        ASSERT_TRUE(program_->WaitForTitle(L"Orvanedock - IIS Web Sites")) << Narrow(program_->Title());
        HWND next = program_->Sheet();
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(PathIn(next), serverFile_);
        EXPECT_EQ(TextIn(next), Widen(text));
        sheet = next;
    }
}

TEST_F(RoadTest, EditOnThePageStartsQuillpenAndItsSaveShowsInThePage)
{
    ASSERT_TRUE(WriteWholeFile(serverFile_, "RewriteEngine On\r\n"));
    HWND sheet = StartAndSelectTheRoot();
    ASSERT_NE(sheet, nullptr) << Narrow(program_->Title());
    ASSERT_EQ(TextIn(sheet), L"RewriteEngine On\r\n");

    ::PostMessageW(FindChildById(sheet, IDC_EDIT), BM_CLICK, 0, 0);
    HWND editor = WaitForChildProcessWindow(program_->process.ProcessId(), Orvane::Quillpen::kFrameClassName,
                                            L"httpd.conf - Orvane Quillpen", 30000);
    ASSERT_NE(editor, nullptr) << "Orvanedock started no editor on the shown file";
    DWORD editorId = 0;
    ::GetWindowThreadProcessId(editor, &editorId);
    Framework::ScopedHandle editorProcess(::OpenProcess(SYNCHRONIZE, FALSE, editorId));
    ASSERT_TRUE(editorProcess) << ::GetLastError();
    HWND view = ::FindWindowExW(editor, nullptr, Orvane::Quillpen::kViewClassName, nullptr);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(WindowText(view), L"RewriteEngine On\r\n");

    // Typed at the end of the text, then the editor's Apply. The caret is put there once the
    // editor has settled after opening the file (it places the caret itself while it starts).
    const LRESULT end = ::SendMessageW(view, WM_GETTEXTLENGTH, 0, 0);
    ASSERT_TRUE(WaitUntil(
        [&] {
            ::SendMessageW(view, EM_SETSEL, end, end);
            ::Sleep(300);
            const LRESULT selection = ::SendMessageW(view, EM_GETSEL, 0, 0);
            return LOWORD(selection) > 0 && LOWORD(selection) == HIWORD(selection);
        },
        kTimeoutMs, false));
    const std::wstring typed = L"RewriteRule ^/old$ /new [R=301]";
    for (wchar_t c : typed + L"\r")
        ::PostMessageW(view, WM_CHAR, c, 1);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(view).find(typed) != std::wstring::npos; }, kTimeoutMs, false))
        << Narrow(WindowText(view));
    ::PostMessageW(editor, WM_COMMAND, MAKEWPARAM(kQuillpenApply, 0), 0);

    // The page follows the saved file.
    ASSERT_TRUE(WaitUntil([&] { return TextIn(sheet).find(typed) != std::wstring::npos; }, kTimeoutMs, false))
        << Narrow(TextIn(sheet)) << " / file: " << FileBytes(serverFile_);
    const std::string saved = FileBytes(serverFile_);
    // The editor writes its header above the text: the old line and the typed one follow it.
    EXPECT_NE(saved.find("RewriteEngine On\r\n" + Narrow(typed)), std::string::npos) << saved;
    EXPECT_EQ(TextIn(sheet), Widen(saved));
    EXPECT_EQ(PathIn(sheet), serverFile_);

    // A successful save closes the editor; Orvanedock goes on.
    EXPECT_EQ(::WaitForSingleObject(editorProcess.Get(), kTimeoutMs), WAIT_OBJECT_0);
    EXPECT_EQ(program_->process.Wait(0), static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(program_->Sheet(), sheet);
    SaveScreenshot(program_->frame, L"orvanedock-road-saved.bmp");
}

}
