#pragma once
// The site property page: for the node it was made for it decides which configuration file
// belongs there (the server's "httpd.conf" beside the module, or the per-directory file in the
// site's physical folder), shows its path and text, follows changes to the file through a watcher
// thread, and starts the editor, the converter, the proxy settings and the About box.
#include <windows.h>

#include <Framework/Handles.h>
#include <Framework/PropertyPage.h>
#include <RewriteConfig/QuillonConfig.h>

#include <cstdint>
#include <string>

namespace Orvane { namespace Quillon {

class CSitePropertyPage final : public Framework::CPropertyPage {
public:
    // Posted by the watcher thread to the page window: the watched file has a new last-write time.
    static constexpr UINT WatchedFileChanged = WM_APP + 0x51;

    // Looks the site's physical folder up in the IIS configuration store (not for the server level).
    CSitePropertyPage(std::int32_t siteId, const std::wstring& pathInSite);

    // Decides the shown file and shows its path and text. On the page's own thread.
    void Refresh();
    // Starts the watcher on the path field's text; a path without "\" gets no watcher.
    void StartWatcher();
    // The watcher's start routine; its parameter is the page.
    static DWORD WINAPI WatcherThread(void* page);

    std::int32_t SiteId() const noexcept { return siteId_; }
    const std::wstring& PhysicalRoot() const noexcept { return physicalRoot_; }
    const std::wstring& ServerConfigurationPath() const noexcept { return serverConfigurationPath_; }

private:
    ~CSitePropertyPage() override;

    BOOL OnInitDialog() override;
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    INT_PTR OnCommand(WORD code, WORD id);

    // The file the page shows; empty when a site's folder is not known.
    std::wstring ShownFile() const;
    void OnEdit();
    void OnImport();
    void OnProxySettings();
    void OnHelp();
    void StopWatcher() noexcept;
    DWORD Watch();

    HWND pageWindow_ = nullptr;
    std::int32_t siteId_;
    std::wstring serverConfigurationPath_;
    std::wstring physicalRoot_;
    QuillpageConfig serverConfiguration_;
    HWND aboutButton_ = nullptr;
    HWND editButton_ = nullptr;
    HWND importButton_ = nullptr;
    HWND proxyButton_ = nullptr;
    HWND pathField_ = nullptr;
    HWND textField_ = nullptr;
    Framework::ScopedHandle watcherThread_;
    Framework::ScopedHandle stopWatcher_;
    std::wstring watchedPath_;
    std::uint64_t lastWriteTime_ = 0;
};

}}
