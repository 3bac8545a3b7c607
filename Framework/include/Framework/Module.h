#pragma once
// The application module: instance handles, the registry of per-thread message loops, and the
// lock count of a COM server. Every UI thread may register its loop at the same time.
#include <windows.h>
#include <atomic>
#include <map>
#include <mutex>

namespace Framework {

class CMessageLoop;

class CAppModule {
public:
    CAppModule() = default;
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    HRESULT Init(HINSTANCE instance);
    void Term();

    // The instance given to Init; before Init, or after an Init with none, the executable's own.
    HINSTANCE GetModuleInstance() const noexcept;
    // Where the windows, dialogs, bars and strings of the framework find their resources: the
    // module instance.
    HINSTANCE GetResourceInstance() const noexcept { return GetModuleInstance(); }

    // One loop per thread; false when the calling thread already has one.
    bool AddMessageLoop(CMessageLoop* loop);
    // Removes the calling thread's loop; false when it has none.
    bool RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;
    size_t GetMessageLoopCount() const;

    // Objects and locks that keep an in-process server loaded.
    long Lock() noexcept { return ++lockCount_; }
    long Unlock() noexcept { return --lockCount_; }
    long GetLockCount() const noexcept { return lockCount_; }

private:
    HINSTANCE instance_ = nullptr;
    mutable std::mutex mutex_;
    std::map<DWORD, CMessageLoop*> loops_;
    std::atomic<long> lockCount_{0};
};

// The process's module object. Before Init it answers with the executable's instance.
CAppModule& Module();

// Keeps a loop registered with the module as the calling thread's loop for the life of the object.
class MessageLoopRegistration {
public:
    explicit MessageLoopRegistration(CMessageLoop* loop) : added_(Module().AddMessageLoop(loop)) {}
    ~MessageLoopRegistration()
    {
        if (added_)
            Module().RemoveMessageLoop();
    }
    MessageLoopRegistration(const MessageLoopRegistration&) = delete;
    MessageLoopRegistration& operator=(const MessageLoopRegistration&) = delete;

    // False when the thread already had a loop (which stays registered).
    bool Added() const noexcept { return added_; }

private:
    bool added_;
};

}
