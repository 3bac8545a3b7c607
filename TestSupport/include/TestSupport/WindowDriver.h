#pragma once
// Helpers for window tests: finding windows of a process or thread, reading dialog texts,
// closing modal boxes from a helper thread, screenshots, and child processes (ended by handle or id).
#include <windows.h>
#include <commctrl.h>

#include "Framework/Handles.h"
#include "TestSupport/TestFiles.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace TestSupport {

// The top-level windows of a process (0: this process) that match class and caption (null: any).
std::vector<HWND> FindTopWindows(DWORD processId, const wchar_t* className, const wchar_t* caption,
                                 bool visibleOnly = true);
// Waits until a matching top-level window exists; null after the timeout.
HWND WaitForTopWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);
// Waits until the condition holds, pumping this thread's messages; false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, bool pumpMessages = true);
// Processes this thread's queued messages.
void PumpMessages();

// The whole text of a window, also of another process's window; empty when it does not answer.
std::wstring WindowText(HWND window);
// Latin-1 conversions for comparing control texts with narrow expectations ('?' for other characters).
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);
std::wstring ClassNameOf(HWND window);
// The first descendant window of parent, in window order, for which match is true; null when none is.
HWND FindChild(HWND parent, const std::function<bool(HWND)>& match);
// Selects the tree item and opens it with the Right key, as a user does (also in another process's
// tree); true once the item shows as expanded, false after the timeout.
bool ExpandTreeItemByKey(HWND tree, HTREEITEM item, DWORD timeoutMs);
// The texts of all child windows of a class ("Static", "Edit"), in window order, joined by "\n".
std::wstring ChildTexts(HWND window, const wchar_t* className);

// Watches for a dialog box (class "#32770") of this process with the caption, records its texts,
// and answers it by a command (IDOK, IDYES, ...). Joined in the destructor.
class DialogAnswerer {
public:
    // first: commands sent before the answer, without effect expected (IDCANCEL on a box that must
    // stay open); screenshot: a BMP of the dialog taken before answering.
    DialogAnswerer(const wchar_t* caption, int command, DWORD timeoutMs = 10000, DWORD processId = 0,
                   std::vector<int> first = {}, std::wstring screenshot = std::wstring());
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // Waits for the helper thread; true when the dialog was found and answered.
    bool Join();
    const std::wstring& StaticTexts() const noexcept { return statics_; }
    const std::wstring& EditText() const noexcept { return edit_; }
    bool StayedOpenAfterFirst() const noexcept { return stayedOpen_; }

private:
    void Watch();

    std::wstring caption_;
    int command_;
    DWORD timeoutMs_;
    DWORD processId_;
    std::vector<int> before_;
    std::wstring screenshot_;
    std::wstring statics_;
    std::wstring edit_;
    bool found_ = false;
    bool stayedOpen_ = true;
    bool started_ = false;
    std::thread thread_;
};

// Waits on its own thread for a visible message box of this process with the caption, remembers its
// message text and owner, and presses one of its buttons. Stops looking when destroyed, so a box
// that never comes hangs nothing.
class BoxAnswerer {
public:
    BoxAnswerer(const wchar_t* caption, int button);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    bool Answered() const { return answered_; }
    std::wstring Text() const;
    HWND Owner() const { return owner_; }

private:
    void Watch();

    std::wstring caption_;
    int button_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    std::atomic<HWND> owner_{nullptr};
    mutable std::mutex mutex_;
    std::wstring text_;
    std::thread thread_;
};

// Writes the screen area of a window as a 24-bit BMP file.
bool SaveWindowScreenshot(HWND window, const std::wstring& path);

// The build folder above the folder of this test program (Framework::ModuleFolder()), without a
// trailing backslash.
std::wstring BuildFolder();

// A child process, ended by its handle (and waited for) when the object goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Start(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder = L"");
    // The exit code, or STILL_ACTIVE after the timeout.
    DWORD Wait(DWORD timeoutMs);
    void Terminate();
    DWORD ProcessId() const noexcept { return processId_; }
    DWORD MainThreadId() const noexcept { return threadId_; }
    HANDLE Handle() const noexcept { return process_.Get(); }

private:
    Framework::ScopedHandle process_;
    Framework::ScopedHandle thread_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
};

// The ids of the running processes that the process parent started.
std::vector<DWORD> ChildProcessIds(DWORD parent);
// Waits until a visible top-level window of the class and title (null: any) belongs to a process
// that parent started; null after the timeout.
HWND WaitForChildProcessWindow(DWORD parent, const wchar_t* cls, const wchar_t* title, DWORD ms);
// Ends, by id, every process that this process started and every process those started, and waits
// for each; programs of the Windows folder (Wine's desktop and services) are left alone.
void EndChildProcesses();
// The same for the processes below another process (programs that a program under test started).
void EndChildProcessesOf(DWORD parent);

// A fresh folder under the temporary folder, deleted with its files when the object goes.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::wstring& Path() const noexcept { return path_; }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

}
