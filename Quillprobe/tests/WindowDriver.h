#pragma once
// Helpers of the window tests: control texts, and a thread that answers message boxes.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace ProbeTests {

inline std::wstring WindowText(HWND window)
{
    // WM_GETTEXT itself, because GetWindowTextW does not ask windows of other processes.
    LRESULT length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return std::wstring();
    // Rich edit may count line breaks differently for the length than for the text.
    std::wstring text(static_cast<size_t>(length) * 2 + 2, L'\0');
    LRESULT copied = ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

inline std::string Narrow(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        out += static_cast<char>(c < 0x100 ? c : '?');
    return out;
}

inline std::wstring Widen(const std::string& text)
{
    std::wstring out;
    for (char c : text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

// Waits on its own thread for a top-level message box with the caption, remembers its text and
// presses one of its buttons. Stops looking when destroyed, so a box that never comes hangs nothing.
class BoxAnswerer {
public:
    BoxAnswerer(const wchar_t* caption, int button) : caption_(caption), button_(button)
    {
        thread_ = std::thread([this] { Watch(); });
    }
    ~BoxAnswerer()
    {
        stop_ = true;
        thread_.join();
    }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    bool Answered() const { return answered_; }
    std::wstring Text() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return text_;
    }
    HWND Owner() const { return owner_; }

private:
    void Watch()
    {
        while (!stop_) {
            HWND box = OwnBox();
            if (box) {
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    text_ = WindowText(::GetDlgItem(box, 0xFFFF));
                }
                owner_ = ::GetWindow(box, GW_OWNER);
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                               reinterpret_cast<LPARAM>(::GetDlgItem(box, button_)));
                answered_ = true;
                while (!stop_ && ::IsWindow(box))
                    ::Sleep(10);
                return;
            }
            ::Sleep(10);
        }
    }

    // Only boxes of this process: other test programs may run beside this one.
    HWND OwnBox() const
    {
        for (HWND box = ::FindWindowExW(nullptr, nullptr, L"#32770", caption_.c_str()); box;
             box = ::FindWindowExW(nullptr, box, L"#32770", caption_.c_str())) {
            DWORD process = 0;
            ::GetWindowThreadProcessId(box, &process);
            if (process == ::GetCurrentProcessId() && ::IsWindowVisible(box))
                return box;
        }
        return nullptr;
    }

    std::wstring caption_;
    int button_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> answered_{false};
    std::atomic<HWND> owner_{nullptr};
    mutable std::mutex mutex_;
    std::wstring text_;
    std::thread thread_;
};

}
