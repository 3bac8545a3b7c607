#pragma once
// The site property page: for the node it was made for it decides which configuration file
// belongs there (the server's "httpd.conf" beside the module, or the per-directory file in the
// site's physical folder), shows its path and text, follows changes to the file through a watcher
// thread, and starts the editor, the converter, the proxy settings and the About box.
#include "resource.h"

#include <windows.h>

#include <Framework/Handles.h>
#include <Framework/PropertyPage.h>
#include <RewriteConfig/QuillonConfig.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Orvane { namespace Quillon {

class CSitePropertyPage final : public Framework::CPropertyPage {
public:
    // The page's one message of its own. WM_APP and above are free for a window's own code (a
    // dialog's WM_USER range carries the dialog manager's DM_ messages); the offset is the page's
    // choice, and nothing else sends to the page in that range.
    static constexpr UINT kWatchedFileChangedOffset = 0x51;
    // Posted by the watcher thread to the page window: the file the page would show is another one,
    // or has a new last-write time.
    static constexpr UINT WatchedFileChanged = WM_APP + kWatchedFileChangedOffset;
    // The notification code of a WM_COMMAND that an accelerator sends (a menu's is 0).
    static constexpr WORD kAcceleratorNotification = 1;

    // After a change the watcher waits, this many times this long, for the file to open as the
    // page reads it (another program may still hold it), and then tells the page in any case.
    static constexpr DWORD kSharingRetryMs = 100;
    static constexpr int kSharingRetries = 50;
    // A shown file that exists but cannot be read keeps the text the page shows and is read again
    // on this timer of the page, this many times this far apart; then the page says that the file
    // cannot be read, and goes on reading it at the slower pace until a read gets in or the file
    // is gone. A site's page whose server file cannot be read waits for it in the same way.
    static constexpr UINT_PTR kReadRetryTimer = 1;
    static constexpr UINT kReadRetryIntervalMs = 250;
    static constexpr int kReadRetries = 20;
    static constexpr UINT kSlowReadRetryIntervalMs = 1000;

    // Looks the site's physical folder up in the IIS configuration store (not for the server level).
    CSitePropertyPage(std::int32_t siteId, const std::wstring& pathInSite);

    // Decides the shown file and shows its path and text. On the page's own thread.
    void Refresh();
    // Starts the watcher on the folder of the files the page may show; a page without a folder
    // (no file, or paths without "\") gets none, and so does a site's page until its server file
    // is read. Once started it keeps running.
    void StartWatcher();
    // The watcher's start routine; its parameter is the page.
    static DWORD WINAPI WatcherThread(void* page);

    // A command runs by its control id whatever the notification (a click, an accelerator); the
    // marking handlers before them let the search go on. Apply has nothing to do (every command
    // writes its file at once), so PSN_APPLY has no entry.
    FW_BEGIN_MSG_MAP(CSitePropertyPage)
        FW_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        FW_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        FW_MESSAGE_HANDLER(WatchedFileChanged, OnWatchedFileChanged)
        FW_MESSAGE_HANDLER(WM_TIMER, OnTimer)
        FW_NOTIFY_CODE_HANDLER(PSN_HELP, OnHelp)
        FW_COMMAND_CODE_HANDLER(EN_CHANGE, OnChanged)
        FW_COMMAND_CODE_HANDLER(kAcceleratorNotification, OnChanged)
        FW_COMMAND_CODE_HANDLER(EN_SETFOCUS, OnFieldFocus)
        FW_COMMAND_ID_HANDLER(IDC_ABOUT, OnAbout)
        FW_COMMAND_ID_HANDLER(IDC_EDIT, OnEdit)
        FW_COMMAND_ID_HANDLER(IDC_IMPORT, OnImport)
        FW_COMMAND_ID_HANDLER(IDC_PROXY, OnProxySettings)
    FW_END_MSG_MAP()

private:
    ~CSitePropertyPage() override;

    LRESULT OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnWatchedFileChanged(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnTimer(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnHelp(int id, NMHDR* header, bool& handled);
    LRESULT OnChanged(WORD code, WORD id, HWND control, bool& handled);
    LRESULT OnFieldFocus(WORD code, WORD id, HWND control, bool& handled);
    LRESULT OnAbout(WORD code, WORD id, HWND control, bool& handled);
    LRESULT OnEdit(WORD code, WORD id, HWND control, bool& handled);
    LRESULT OnImport(WORD code, WORD id, HWND control, bool& handled);
    LRESULT OnProxySettings(WORD code, WORD id, HWND control, bool& handled);

    // The file that belongs to the page's node; empty when a site's folder is not known. Chosen
    // alike on the page's thread and on the watcher's, from what nothing changes while the
    // watcher runs.
    std::wstring DecideShownFile() const;
    std::vector<std::wstring> WatchedFolders() const;
    bool IsServerLevel() const noexcept;
    // Reads the server file into the server configuration; false while it is there but cannot be
    // read (its access-file names are then not known).
    bool LoadServerFile();
    // A site's page whose server file could not be read yet.
    bool WaitsForServerFile() const noexcept;
    // True once the server file is known; reads it again while it could not be read.
    bool ReadServerFileIfWaiting();
    void ShowShownFile();
    void ShowFileText();
    void ShowText(const std::wstring& text, bool unreadable = false);
    void EnableCommands(bool enable) const noexcept;
    // Reads once more later: true while the quick reads last, false once the slow ones have begun
    // (or no timer could be set).
    bool ScheduleRead();
    void StopReadRetries() noexcept;
    void StopWatcher() noexcept;
    DWORD Watch();

    HWND pageWindow_ = nullptr;
    std::int32_t siteId_;
    std::wstring serverConfigurationPath_;
    std::wstring physicalRoot_;
    QuillpageConfig serverConfiguration_;
    // The file the page shows, as the last refresh decided it; empty when none is known, and then
    // the commands that work on it do nothing (their buttons are disabled).
    std::wstring shownFile_;
    // The file whose text (or whose cannot-be-read message) the text field shows; empty for none.
    std::wstring textFile_;
    // Whether the text field says that textFile_ cannot be read.
    bool saysUnreadable_ = false;
    // Whether the server file was there but could not be read when last read.
    bool serverFileUnreadable_ = false;
    // Quick reads of an unreadable file left before the page says that it cannot be read, and the
    // retry timer's interval (0 while it does not run).
    int readRetriesLeft_ = 0;
    UINT retryIntervalMs_ = 0;
    HWND aboutButton_ = nullptr;
    HWND editButton_ = nullptr;
    HWND importButton_ = nullptr;
    HWND proxyButton_ = nullptr;
    HWND pathField_ = nullptr;
    HWND textField_ = nullptr;
    Framework::ScopedHandle watcherThread_;
    Framework::ScopedHandle stopWatcher_;
    // The shown file as the watcher last chose it, and its last-write time then (0 when the query
    // failed). Written by the watcher once it runs.
    std::wstring watchedPath_;
    std::uint64_t lastWriteTime_ = 0;
};

}}
