#include "SitePropertyPage.h"

#include "AboutDialog.h"
#include "ConfigLoading.h"
#include "FileText.h"
#include "HtmlHelpEntry.h"
#include "ImportFileDialog.h"
#include "InstallDir.h"
#include "MetabasePath.h"
#include "ModuleActivation.h"
#include "ModuleState.h"
#include "ModuleText.h"
#include "ProxySettingsDialog.h"
#include "SiteFolder.h"

#include <core/AccessFileChoice.h>

#include <Framework/ActivationContext.h>
#include <Framework/FileRead.h>
#include <Framework/ShellStart.h>

#include <algorithm>

namespace Orvane { namespace Quillon {

namespace {

const wchar_t kServerFileName[] = L"httpd.conf";
const wchar_t kEditorName[] = L"Quillpen.exe";
const wchar_t kConverterName[] = L"Quillshift.exe";
const wchar_t kBackupSuffix[] = L".bak";

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

bool FileHasContent(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
           !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeHigh != 0 || data.nFileSizeLow != 0);
}

}

CSitePropertyPage::CSitePropertyPage(std::int32_t siteId, const std::wstring& pathInSite)
    : siteId_(siteId), serverConfiguration_(std::wstring())
{
    ReadInstallDir();
    if (!IsServerLevel())
        physicalRoot_ = LookUpSiteFolder(siteId_, pathInSite);
}

CSitePropertyPage::~CSitePropertyPage()
{
    StopWatcher();
}

bool CSitePropertyPage::IsServerLevel() const noexcept
{
    return siteId_ == SiteLocation::ServerLevel;
}

LRESULT CSitePropertyPage::OnInitDialog(UINT, WPARAM, LPARAM, bool&)
{
    pageWindow_ = PageWindow();
    serverConfigurationPath_ = ModuleDirectory() + kServerFileName;
    LoadServerFile();

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

// The watcher posts to the page window, so it stops before the window's handles are dropped; a
// command back from a modal loop in which the host destroyed the sheet then finds no window.
LRESULT CSitePropertyPage::OnDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    StopReadRetries();
    StopWatcher();
    pageWindow_ = nullptr;
    for (HWND* control : {&aboutButton_, &editButton_, &importButton_, &proxyButton_, &pathField_, &textField_})
        *control = nullptr;
    handled = false;
    return 0;
}

LRESULT CSitePropertyPage::OnWatchedFileChanged(UINT, WPARAM, LPARAM, bool&)
{
    Refresh();
    return 0;
}

LRESULT CSitePropertyPage::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    if (wParam != kReadRetryTimer) {
        handled = false;
        return 0;
    }
    // Only while the retries run.
    if (retryIntervalMs_ == 0)
        return 0;
    if (!WaitsForServerFile()) {
        ShowFileText();
    } else if (ReadServerFileIfWaiting()) {
        // The files the page may show are known now, and so is the one it shows.
        Refresh();
        StartWatcher();
    } else {
        ScheduleRead();
    }
    return 0;
}

bool CSitePropertyPage::LoadServerFile()
{
    serverConfiguration_ = QuillpageConfig(serverConfigurationPath_);
    serverFileUnreadable_ = LoadConfigurationFile(serverConfiguration_) == FileReadResult::Unreadable;
    return !serverFileUnreadable_;
}

// The server level shows the server file itself, whatever it holds.
bool CSitePropertyPage::WaitsForServerFile() const noexcept
{
    return serverFileUnreadable_ && !IsServerLevel() && !physicalRoot_.empty();
}

bool CSitePropertyPage::ReadServerFileIfWaiting()
{
    return !WaitsForServerFile() || LoadServerFile();
}

std::wstring CSitePropertyPage::DecideShownFile() const
{
    if (IsServerLevel())
        return serverConfigurationPath_;
    // Without the site's folder the access-file choice would look into the current drive's root.
    if (physicalRoot_.empty())
        return std::wstring();
    return ChooseExistingAccessFile(physicalRoot_, serverConfiguration_.accessFileNames);
}

// The folders of every file DecideShownFile may choose, each once; files without "\" have none.
std::vector<std::wstring> CSitePropertyPage::WatchedFolders() const
{
    std::vector<std::wstring> files;
    if (IsServerLevel()) {
        files.push_back(serverConfigurationPath_);
    } else if (!physicalRoot_.empty()) {
        const std::vector<std::wstring>& names = serverConfiguration_.accessFileNames;
        if (names.empty())
            files.push_back(physicalRoot_ + kDefaultAccessFileName);
        for (const std::wstring& name : names)
            files.push_back(physicalRoot_ + name);
    }
    std::vector<std::wstring> folders;
    for (const std::wstring& file : files) {
        const std::size_t end = file.find_last_of(L'\\');
        if (end == std::wstring::npos)
            continue;
        std::wstring folder = file.substr(0, end + 1);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    return folders;
}

void CSitePropertyPage::Refresh()
{
    // Back from a modal loop in which the host destroyed the page's window there is nothing to show.
    if (!pageWindow_)
        return;
    readRetriesLeft_ = kReadRetries;
    ShowShownFile();
}

void CSitePropertyPage::EnableCommands(bool enable) const noexcept
{
    for (HWND button : {editButton_, importButton_, proxyButton_})
        ::EnableWindow(button, enable ? TRUE : FALSE);
}

// The server file names the site's file: while it cannot be read the page shows neither a guess
// nor the default name, and offers no command, until a read gets in.
void CSitePropertyPage::ShowShownFile()
{
    if (!ReadServerFileIfWaiting()) {
        shownFile_.clear();
        EnableCommands(false);
        ::SetWindowTextW(pathField_, serverConfigurationPath_.c_str());
        ShowText(ModuleString(IDS_SERVER_FILE_UNREADABLE), true);
        ScheduleRead();
        return;
    }
    shownFile_ = DecideShownFile();
    const bool known = !shownFile_.empty();
    EnableCommands(known);
    if (!known) {
        StopReadRetries();
        ::SetWindowTextW(pathField_, ModuleString(IDS_NO_FOLDER).c_str());
        ShowText(std::wstring());
        return;
    }
    ::SetWindowTextW(pathField_, shownFile_.c_str());
    ShowFileText();
}

// A file that is not there shows an empty text. One that is there but cannot be read just now
// (another program still holds it while it saves) keeps the text shown and is read again on the
// retry timer; after the quick retries the page says that it cannot be read and reads it again
// at a slower pace for as long as it stays so.
void CSitePropertyPage::ShowFileText()
{
    std::wstring text;
    if (ReadWholeFile(shownFile_, text) != FileReadResult::Unreadable) {
        StopReadRetries();
        ShowText(text);
        return;
    }
    // What the field shows of another file does not stand for this one.
    if (textFile_ != shownFile_)
        ShowText(std::wstring());
    if (ScheduleRead())
        return;
    if (!saysUnreadable_)
        ShowText(ModuleString(IDS_FILE_UNREADABLE), true);
}

void CSitePropertyPage::ShowText(const std::wstring& text, bool unreadable)
{
    ::SetWindowTextW(textField_, text.c_str());
    textFile_ = shownFile_;
    saysUnreadable_ = unreadable;
}

bool CSitePropertyPage::ScheduleRead()
{
    const bool quick = readRetriesLeft_ > 0;
    const UINT interval = quick ? kReadRetryIntervalMs : kSlowReadRetryIntervalMs;
    if (interval != retryIntervalMs_) {
        // Setting the timer again under its id only changes its interval.
        retryIntervalMs_ = ::SetTimer(pageWindow_, kReadRetryTimer, interval, nullptr) != 0 ? interval : 0;
    }
    if (retryIntervalMs_ == 0)
        return false;
    if (quick)
        --readRetriesLeft_;
    return quick;
}

void CSitePropertyPage::StopReadRetries() noexcept
{
    readRetriesLeft_ = 0;
    if (retryIntervalMs_ != 0) {
        // Fails only for a window that is already gone, whose timers went with it.
        ::KillTimer(pageWindow_, kReadRetryTimer);
        retryIntervalMs_ = 0;
    }
}

// Setting the path field's text raises EN_CHANGE, so every refresh marks the page changed.
LRESULT CSitePropertyPage::OnChanged(WORD, WORD, HWND, bool& handled)
{
    SetModified();
    handled = false;
    return 0;
}

// No push button is the default while an edit field has the focus.
LRESULT CSitePropertyPage::OnFieldFocus(WORD, WORD, HWND, bool& handled)
{
    ::SendMessageW(pageWindow_, DM_SETDEFID, 0, 0);
    handled = false;
    return 0;
}

LRESULT CSitePropertyPage::OnAbout(WORD, WORD, HWND, bool&)
{
    Framework::ActivationScope scope(ModuleActivationContext());
    ShowAboutDialog(::GetActiveWindow());
    return TRUE;
}

LRESULT CSitePropertyPage::OnEdit(WORD, WORD, HWND, bool&)
{
    if (shownFile_.empty())
        return FALSE;
    if (!Framework::StartProgram(pageWindow_, ModuleDirectory() + kEditorName, shownFile_, SW_SHOWNORMAL))
        ShowModuleError(pageWindow_, IDS_CANT_OPEN_EDITOR);
    return FALSE;
}

LRESULT CSitePropertyPage::OnImport(WORD, WORD, HWND, bool&)
{
    if (shownFile_.empty())
        return FALSE;
    const std::wstring target = shownFile_;
    CImportFileDialog dialog;
    // A page whose window went while the file dialog was up imports nothing.
    if (dialog.DoModal(::GetActiveWindow()) == IDOK && pageWindow_) {
        const std::wstring chosen = dialog.FileName();
        const std::wstring backup = target + kBackupSuffix;
        const bool savedOld = ::MoveFileExW(target.c_str(), backup.c_str(),
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        // Only a file that is not there yet may be converted without a backup.
        if (!savedOld && !Framework::IsMissingFileError(::GetLastError())) {
            ShowModuleError(pageWindow_, IDS_IMPORT_NO_BACKUP);
            Refresh();
            return FALSE;
        }
        DWORD exitCode = 0;
        const bool started =
            Framework::RunAndWait(pageWindow_, ModuleDirectory() + kConverterName, L"\"" + chosen + L"\" \"" + target + L"\"",
                                  SW_SHOWNORMAL, exitCode);
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
    return FALSE;
}

// A file that is there but cannot be read may hold settings: the dialog would offer its defaults
// in their place, so it is not shown.
LRESULT CSitePropertyPage::OnProxySettings(WORD, WORD, HWND, bool&)
{
    if (shownFile_.empty())
        return FALSE;
    const std::wstring path = shownFile_;
    {
        ProxySettingsDialog dialog(path);
        if (!dialog.SettingsKnown()) {
            ShowModuleError(pageWindow_, IDS_PROXY_CANNOT_READ);
        } else {
            Framework::ActivationScope scope(ModuleActivationContext());
            dialog.DoModal(::GetActiveWindow());
        }
    }
    Refresh();
    return FALSE;
}

LRESULT CSitePropertyPage::OnHelp(int, NMHDR*, bool&)
{
    HtmlHelpFunction htmlHelp = HtmlHelpEntry();
    if (!htmlHelp)
        return FALSE;
    const std::wstring file = ModuleDirectory() + ModuleString(IDS_HELP_FILE);
    htmlHelp(pageWindow_, file.c_str(), kHelpDisplayTableOfContents, 0);
    return FALSE;
}

void CSitePropertyPage::StartWatcher()
{
    if (watcherThread_ || WaitsForServerFile())
        return;
    watchedPath_ = shownFile_;
    lastWriteTime_ = LastWriteTime(watchedPath_);
    // A path without a folder (or no file at all) has nothing to watch.
    if (WatchedFolders().empty())
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

// Any change in the folders of the files the page may show wakes the watcher; it tells the page
// when the file the page would show now is another one, or has another last-write time.
DWORD CSitePropertyPage::Watch()
{
    // A file replaced by a rename (as the editor saves) is a name change, not a last-write change.
    std::vector<Framework::ScopedChangeNotification> notifications;
    std::vector<HANDLE> handles = {stopWatcher_.Get()};
    DWORD openError = ERROR_PATH_NOT_FOUND;
    for (const std::wstring& folder : WatchedFolders()) {
        if (handles.size() == MAXIMUM_WAIT_OBJECTS)
            break;
        Framework::ScopedChangeNotification notification(::FindFirstChangeNotificationW(
            folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME));
        if (!notification) {
            openError = ::GetLastError();
            continue;
        }
        handles.push_back(notification.Get());
        notifications.push_back(std::move(notification));
    }
    if (notifications.empty())
        return openError;
    // True when the stop came while waiting.
    auto pause = [&] { return ::WaitForSingleObject(stopWatcher_.Get(), kSharingRetryMs) == WAIT_OBJECT_0; };
    // Looks at the file once, as the page would choose it now; false when the stop came meanwhile.
    auto look = [&] {
        const std::wstring path = DecideShownFile();
        DWORD error = 0;
        std::uint64_t time = LastWriteTime(path, &error);
        for (int retry = 0; error == ERROR_SHARING_VIOLATION && retry < kSharingRetries; ++retry) {
            if (pause())
                return false;
            time = LastWriteTime(path, &error);
        }
        if (path == watchedPath_ && time == lastWriteTime_)
            return true;
        watchedPath_ = path;
        lastWriteTime_ = time;
        // While another program still holds the file so that the page's read cannot get in (a
        // writer that shares it with nobody, a replace or a deleter that holds it open for
        // delete), the watcher waits for it to let go; the page's own retries take over from a
        // holder that keeps it longer.
        for (int retry = 0; time != 0 && retry < kSharingRetries; ++retry) {
            if (TryOpenForWholeFileRead(path) != ERROR_SHARING_VIOLATION)
                break;
            if (pause())
                return false;
        }
        ::PostMessageW(pageWindow_, WatchedFileChanged, 0, 0);
        return true;
    };
    // A change between the page's choice and the arming of the notifications shows in a first look.
    if (!look())
        return 0;
    for (;;) {
        const DWORD woken = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0)
            return 0;
        if (woken >= WAIT_OBJECT_0 + handles.size())
            return ::GetLastError();
        // Armed again before the file is looked at, so that a change while the watcher looks (the
        // rename that follows the creation of a save's temporary file) wakes it once more: Wine
        // keeps no change that comes while the notification is not armed.
        if (!::FindNextChangeNotification(handles[woken - WAIT_OBJECT_0]))
            return ::GetLastError();
        if (!look())
            return 0;
    }
}

}}
