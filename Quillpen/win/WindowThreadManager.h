#pragma once
// The main thread of Quillpen: starts one UI thread per editor window (at most 63, the last of
// the 64 wait slots being the thread's own queue) and waits until all have ended.
#include <windows.h>

#include "Framework/Handles.h"

namespace Orvane { namespace Quillpen {

class CWindowThreadManager {
public:
    static constexpr DWORD kMaxThreads = 63;
    // The thread message that asks the main thread for one more, untitled editor window.
    static constexpr UINT kNewWindowMessage = WM_USER;

    // threadStart: the body of a window thread; it receives a WindowThreadStart it must free.
    explicit CWindowThreadManager(LPTHREAD_START_ROUTINE threadStart = nullptr);
    CWindowThreadManager(const CWindowThreadManager&) = delete;
    CWindowThreadManager& operator=(const CWindowThreadManager&) = delete;

    // 1 after a normal run, 0 when the first window thread did not start.
    int Run(const wchar_t* commandLine, int showCommand);
    // The new thread's identifier, 0 when none was started.
    DWORD AddWindowThread(const wchar_t* commandLine, int showCommand);
    DWORD Count() const noexcept { return count_; }

    // One round of the wait loop: an ended thread, a queued message, or a failure.
    void WaitOnce();

private:
    void RemoveThread(DWORD index);

    LPTHREAD_START_ROUTINE threadStart_;
    DWORD count_ = 0;
    // The live threads in the first count_ slots.
    Framework::ScopedHandle threads_[kMaxThreads];
};

}}
