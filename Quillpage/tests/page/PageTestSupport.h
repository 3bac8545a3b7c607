#pragma once
// What the page tests play themselves: a host's data object that answers "ISM_SNAPIN_META_PATH",
// a host's property-sheet callback that collects the pages, a sheet to show them in, and a driver
// of a modal dialog from a second thread.
#include <Common/SnapinInterfaces.h>
#include <Framework/ComObject.h>
#include <Framework/PropertySheet.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace PageTest {

// A node's data object. GetDataHere writes the path into the caller's block (filling the whole
// block, without a terminator, when the path is longer than the block holds), or fails with the
// chosen result. It records what it was asked.
class TestDataObject final : public Framework::ComObject<TestDataObject, IDataObject> {
public:
    explicit TestDataObject(std::wstring path, HRESULT result = S_OK) : path_(std::move(path)), result_(result) {}
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

    // What the last GetDataHere was given.
    FORMATETC askedFormat{};
    DWORD askedTymed = 0;
    SIZE_T askedBlockSize = 0;
    bool askedWithReleaseObject = false;
    int calls = 0;

private:
    std::wstring path_;
    HRESULT result_;
};

// The host's callback: keeps the pages it is given (and answers AddPage with the chosen result).
class TestCallback final : public Framework::ComObject<TestCallback, IPropertySheetCallback> {
public:
    explicit TestCallback(HRESULT result = S_OK) : result_(result) {}
    static const Framework::InterfaceEntry* InterfaceTable() noexcept;
    HRESULT STDMETHODCALLTYPE AddPage(HPROPSHEETPAGE page) override;
    HRESULT STDMETHODCALLTYPE RemovePage(HPROPSHEETPAGE) override { return E_NOTIMPL; }

    std::vector<HPROPSHEETPAGE> pages;

private:
    HRESULT result_;
};

// A modeless property sheet with a caption, for the collected pages.
class TestSheet : public Framework::CPropertySheetWindow {
public:
    TestSheet();
    // The page window of the sheet's current page.
    HWND CurrentPage() const;
};

// Waits on its own thread for a top-level dialog of this process with the caption, then runs the
// action on it there. If the dialog is still open some time after the action, it is cancelled
// (and Closed() tells so), so that a modal loop in the test thread never waits for ever.
class ModalDriver {
public:
    ModalDriver(const wchar_t* caption, std::function<void(HWND)> action, DWORD timeoutMs = 20000);
    ~ModalDriver();
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;
    // Joins the thread; true when the dialog came and the action ran.
    bool Join();
    // The dialog closed by itself after the action (not cancelled by the driver).
    bool Closed() const noexcept { return closed_; }

private:
    std::wstring caption_;
    std::function<void(HWND)> action_;
    DWORD timeoutMs_;
    std::atomic<bool> found_{false};
    std::atomic<bool> closed_{false};
    std::thread thread_;
};

// Posts a button click (WM_COMMAND with BN_CLICKED) to a dialog, so a message box it opens does not
// block the caller.
void PostClick(HWND dialog, int id);
std::wstring ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const std::wstring& text);
// Waits until the window is gone; false after the timeout.
bool WaitUntilGone(HWND window, DWORD timeoutMs);

}
