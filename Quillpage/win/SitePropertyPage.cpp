#include "SitePropertyPage.h"

#include "AboutDialog.h"
#include "FileText.h"
#include "ImportFileDialog.h"
#include "InstallDir.h"
#include "ModuleActivation.h"
#include "ModuleState.h"
#include "ModuleText.h"
#include "ProxySettingsDialog.h"
#include "resource.h"

#include <Metabase/AdminBase.h>
#include <core/SafeContainer.h>

#include <Framework/ActivationContext.h>
#include <Framework/Registry.h>
#include <Framework/Window.h>
#include <RewriteConfig/TextFunctions.h>

#include <shellapi.h>

namespace Orvane { namespace Quillon {

namespace {

const wchar_t kServerFileName[] = L"httpd.conf";
const wchar_t kEditorName[] = L"Quillpen.exe";
const wchar_t kConverterName[] = L"Quillshift.exe";
const wchar_t kBackupSuffix[] = L".bak";
const wchar_t kHtmlHelpKey[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const wchar_t kHtmlHelpLibrary[] = L"hhctrl.ocx";
constexpr UINT kDisplayTableOfContents = 1;  // HH_DISPLAY_TOC
// How long the watcher waits for a file that another program holds open without read sharing.
constexpr DWORD kSharingRetryMs = 100;
constexpr int kSharingRetries = 50;

std::wstring WindowText(HWND window)
{
    return Framework::CWindow(window).GetWindowText();
}

// The last-write time of a file, 0 when it cannot be queried.
std::uint64_t LastWriteTime(const std::wstring& path, DWORD* error = nullptr)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        if (error)
            *error = ::GetLastError();
        return 0;
    }
    if (error)
        *error = 0;
    return (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// Starts a program beside the module through the shell. No UI of the shell's own: a failure is
// reported by the page. With a process handle wanted, waits for the program to end.
bool StartProgram(HWND owner, const wchar_t* name, const std::wstring& parameters, bool wait, DWORD* exitCode)
{
    const std::wstring program = ModuleDirectory() + name;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | (wait ? SEE_MASK_NOCLOSEPROCESS : 0);
    info.hwnd = owner;
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&info))
        return false;
    if (wait && info.hProcess) {
        Framework::ScopedHandle process(info.hProcess);
        ::WaitForSingleObject(process.Get(), INFINITE);
        DWORD code = 0;
        if (exitCode && ::GetExitCodeProcess(process.Get(), &code))
            *exitCode = code;
    }
    return true;
}

// Runs a program and waits for it to end; whether it could be started.
bool RunAndWait(HWND owner, const wchar_t* name, const std::wstring& parameters, DWORD& exitCode)
{
    exitCode = 0;
    return StartProgram(owner, name, parameters, true, &exitCode);
}

// The answer of a file operation on a file (or folder) that does not exist.
bool IsMissingFileError(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool FileHasContent(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeHigh != 0 || data.nFileSizeLow != 0);
}

// The site's physical folder for the path inside the site, ended with a separator; empty when no
// store answers. Running out of memory is the caller's; any other failure is a failed lookup.
std::wstring LookUpSiteFolder(std::int32_t siteId, const std::wstring& pathInSite)
{
    std::wstring folder;
    try {
        const boost::shared_ptr<Metabase::IAdminBase> store = Metabase::CreateAdminObject();
        if (!store || !store->GetSitePhysicalPath(siteId, pathInSite, folder))
            return std::wstring();
    } catch (const std::bad_alloc&) {
        throw;
    } catch (...) {
        return std::wstring();
    }
    TrimDirectoryPath(folder);
    return folder;
}

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// HtmlHelpW from the HTML Help control library, loaded on first use and kept for the life of the
// process: freeing it would happen while this library is unloaded, where no library may be freed.
HtmlHelpFunction HtmlHelpEntry()
{
    static const HtmlHelpFunction entry = []() -> HtmlHelpFunction {
        std::wstring path;
        Framework::RegistryKey key;
        if (key.Open(HKEY_CLASSES_ROOT, kHtmlHelpKey) != ERROR_SUCCESS || key.QueryString(nullptr, path) != ERROR_SUCCESS ||
            path.empty())
            path = kHtmlHelpLibrary;
        HMODULE library = ::LoadLibraryW(path.c_str());
        if (!library && path != kHtmlHelpLibrary)
            library = ::LoadLibraryW(kHtmlHelpLibrary);
        if (!library)
            return nullptr;
        return reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(::GetProcAddress(library, "HtmlHelpW")));
    }();
    return entry;
}

}

CSitePropertyPage::CSitePropertyPage(std::int32_t siteId, const std::wstring& pathInSite)
    : siteId_(siteId), serverConfiguration_(std::wstring())
{
    ReadInstallDir();
    if (siteId_ != -1)
        physicalRoot_ = LookUpSiteFolder(siteId_, pathInSite);
}

CSitePropertyPage::~CSitePropertyPage()
{
    StopWatcher();
}

BOOL CSitePropertyPage::OnInitDialog()
{
    pageWindow_ = PageWindow();
    serverConfigurationPath_ = ModuleDirectory() + kServerFileName;
    serverConfiguration_ = QuillpageConfig(serverConfigurationPath_);
    serverConfiguration_.LoadFromFile();

    aboutButton_ = ::GetDlgItem(pageWindow_, IDC_ABOUT);
    editButton_ = ::GetDlgItem(pageWindow_, IDC_EDIT);
    importButton_ = ::GetDlgItem(pageWindow_, IDC_IMPORT);
    proxyButton_ = ::GetDlgItem(pageWindow_, IDC_PROXY);
    pathField_ = ::GetDlgItem(pageWindow_, IDC_PATH);
    textField_ = ::GetDlgItem(pageWindow_, IDC_TEXT);

    Refresh();
    StartWatcher();
    ::SendMessageW(pageWindow_, DM_SETDEFID, 0, 0);
    return FALSE;
}

std::wstring CSitePropertyPage::ShownFile() const
{
    if (siteId_ == -1)
        return serverConfigurationPath_;
    // Without the site's folder the access-file choice would look into the current drive's root.
    if (physicalRoot_.empty())
        return std::wstring();
    const CSafeContainer<Htaccess> accessFile = serverConfiguration_.LoadAccessFile(physicalRoot_);
    return accessFile ? accessFile->fileName : std::wstring();
}

void CSitePropertyPage::Refresh()
{
    const std::wstring shown = ShownFile();
    const bool known = !shown.empty();
    for (HWND button : {editButton_, importButton_, proxyButton_})
        ::EnableWindow(button, known ? TRUE : FALSE);
    if (!known) {
        ::SetWindowTextW(pathField_, ModuleString(IDS_NO_FOLDER).c_str());
        ::SetWindowTextW(textField_, L"");
        return;
    }
    ::SetWindowTextW(pathField_, shown.c_str());
    std::wstring text;
    ReadWholeFile(shown, text);
    ::SetWindowTextW(textField_, text.c_str());
}

bool CSitePropertyPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result)
{
    result = FALSE;
    switch (msg) {
    case WM_DESTROY:
        StopWatcher();
        return false;
    case WM_NOTIFY: {
        // Apply has nothing to do: every command writes its file at once.
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && header->code == static_cast<UINT>(PSN_HELP)) {
            OnHelp();
            return true;
        }
        return false;
    }
    case WM_COMMAND:
        result = OnCommand(HIWORD(wParam), LOWORD(wParam));
        return true;
    default:
        if (msg == WatchedFileChanged) {
            Refresh();
            return true;
        }
        return false;
    }
}

INT_PTR CSitePropertyPage::OnCommand(WORD code, WORD id)
{
    if (code == EN_CHANGE || code == 1)
        SetModified();
    if (code == EN_SETFOCUS)
        ::SendMessageW(pageWindow_, DM_SETDEFID, 0, 0);
    // By control id alone: a button's click and an accelerator (code 1) run the same command; a
    // command whose button Refresh disabled (no file is known) does nothing.
    switch (id) {
    case IDC_ABOUT: {
        Framework::ActivationScope scope(ModuleActivationContext());
        ShowAboutDialog(::GetActiveWindow());
        return TRUE;
    }
    case IDC_EDIT:
        OnEdit();
        break;
    case IDC_IMPORT:
        OnImport();
        break;
    case IDC_PROXY:
        OnProxySettings();
        break;
    default:
        break;
    }
    return FALSE;
}

void CSitePropertyPage::OnEdit()
{
    if (!::IsWindowEnabled(editButton_))
        return;
    const std::wstring path = WindowText(pathField_);
    if (!StartProgram(pageWindow_, kEditorName, path, false, nullptr))
        ShowModuleError(pageWindow_, IDS_CANT_OPEN_EDITOR);
}

void CSitePropertyPage::OnImport()
{
    if (!::IsWindowEnabled(importButton_))
        return;
    const std::wstring target = WindowText(pathField_);
    CImportFileDialog dialog;
    if (dialog.DoModal(::GetActiveWindow()) == IDOK) {
        const std::wstring chosen = dialog.FileName();
        const std::wstring backup = target + kBackupSuffix;
        const bool savedOld = ::MoveFileExW(target.c_str(), backup.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        // Only a file that is not there yet may be converted without a backup.
        if (!savedOld && !IsMissingFileError(::GetLastError())) {
            ShowModuleError(pageWindow_, IDS_IMPORT_NO_BACKUP);
            Refresh();
            return;
        }
        DWORD exitCode = 0;
        const bool started =
            RunAndWait(pageWindow_, kConverterName, L"\"" + chosen + L"\" \"" + target + L"\"", exitCode);
        // A converter that could not start, failed, or wrote nothing leaves the file as it was.
        const bool converted = started && exitCode == 0 && FileHasContent(target);
        if (!converted) {
            if (savedOld)
                ::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
            else if (!FileHasContent(target))
                ::DeleteFileW(target.c_str());
            ShowModuleError(pageWindow_, started ? IDS_IMPORT_FAILED : IDS_CANT_OPEN_CONVERTER);
        }
    }
    Refresh();
}

void CSitePropertyPage::OnProxySettings()
{
    if (!::IsWindowEnabled(proxyButton_))
        return;
    const std::wstring path = WindowText(pathField_);
    {
        ProxySettingsDialog dialog(path);
        Framework::ActivationScope scope(ModuleActivationContext());
        dialog.DoModal(::GetActiveWindow());
    }
    Refresh();
}

void CSitePropertyPage::OnHelp()
{
    HtmlHelpFunction htmlHelp = HtmlHelpEntry();
    if (!htmlHelp)
        return;
    const std::wstring file = ModuleDirectory() + ModuleString(IDS_HELP_FILE);
    htmlHelp(pageWindow_, file.c_str(), kDisplayTableOfContents, 0);
}

void CSitePropertyPage::StartWatcher()
{
    watchedPath_ = WindowText(pathField_);
    lastWriteTime_ = LastWriteTime(watchedPath_);
    // A path without a folder (or the no-folder notice) has nothing to watch.
    if (watchedPath_.find(L'\\') == std::wstring::npos)
        return;
    stopWatcher_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopWatcher_)
        return;
    watcherThread_.Reset(::CreateThread(nullptr, 0, &CSitePropertyPage::WatcherThread, this, 0, nullptr));
    if (!watcherThread_)
        stopWatcher_.Reset();
}

void CSitePropertyPage::StopWatcher() noexcept
{
    if (watcherThread_) {
        // The watcher only posts to the page, so waiting for it here blocks nothing it needs.
        ::SetEvent(stopWatcher_.Get());
        ::WaitForSingleObject(watcherThread_.Get(), INFINITE);
        watcherThread_.Reset();
    }
    stopWatcher_.Reset();
}

DWORD WINAPI CSitePropertyPage::WatcherThread(void* page)
{
    try {
        return static_cast<CSitePropertyPage*>(page)->Watch();
    } catch (...) {
        return ERROR_INTERNAL_ERROR;
    }
}

DWORD CSitePropertyPage::Watch()
{
    const std::wstring path = watchedPath_;
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    // A file replaced by a rename (as the editor saves) is a name change, not a last-write change.
    Framework::ScopedChangeNotification notification(::FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME));
    if (!notification)
        return ::GetLastError();
    const HANDLE handles[] = {stopWatcher_.Get(), notification.Get()};
    // True when the stop came while waiting.
    auto pause = [&] { return ::WaitForSingleObject(stopWatcher_.Get(), kSharingRetryMs) == WAIT_OBJECT_0; };
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0)
            return 0;
        if (woken != WAIT_OBJECT_0 + 1)
            return ::GetLastError();
        DWORD error = 0;
        std::uint64_t time = LastWriteTime(path, &error);
        for (int retry = 0; error == ERROR_SHARING_VIOLATION && retry < kSharingRetries; ++retry) {
            if (pause())
                return 0;
            time = LastWriteTime(path, &error);
        }
        if (time != lastWriteTime_) {
            lastWriteTime_ = time;
            // A writer that holds the file without read sharing would give the page an empty text.
            for (int retry = 0; time != 0 && retry < kSharingRetries; ++retry) {
                Framework::ScopedFile probe(::CreateFileW(path.c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
                if (probe || ::GetLastError() != ERROR_SHARING_VIOLATION)
                    break;
                if (pause())
                    return 0;
            }
            ::PostMessageW(pageWindow_, WatchedFileChanged, 0, 0);
        }
        if (!::FindNextChangeNotification(notification.Get()))
            return ::GetLastError();
    }
}

}}
