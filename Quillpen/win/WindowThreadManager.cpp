#include "WindowThreadManager.h"

#include "EditorThread.h"
#include "Strings.h"

#include <memory>
#include <new>
#include <utility>

namespace Orvane { namespace Quillpen {

namespace {

void ShowManagerBox(const wchar_t* text) { ::MessageBoxW(nullptr, text, kManagerBoxTitle, MB_OK); }

}

CWindowThreadManager::CWindowThreadManager(LPTHREAD_START_ROUTINE threadStart)
    : threadStart_(threadStart ? threadStart : &EditorThreadProc)
{
}

DWORD CWindowThreadManager::AddWindowThread(const wchar_t* commandLine, int showCommand)
{
    if (count_ == kMaxThreads) {
        ShowManagerBox(kNoMoreThreadsText);
        return 0;
    }
    std::unique_ptr<WindowThreadStart> start(new (std::nothrow)
                                                 WindowThreadStart{commandLine ? commandLine : L"", showCommand});
    if (!start) {
        ShowManagerBox(kCannotCreateThreadText);
        return 0;
    }
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, threadStart_, start.get(), 0, &id);
    if (!thread) {
        ShowManagerBox(kCannotCreateThreadText);
        return 0;
    }
    start.release(); // the thread owns it now
    threads_[count_++].Reset(thread);
    return id;
}

void CWindowThreadManager::RemoveThread(DWORD index)
{
    threads_[index].Reset();
    --count_;
    // The last thread takes the ended one's slot.
    if (index != count_)
        threads_[index] = std::move(threads_[count_]);
}

void CWindowThreadManager::WaitOnce()
{
    // The wait takes the handles side by side.
    HANDLE handles[kMaxThreads] = {};
    for (DWORD i = 0; i < count_; ++i)
        handles[i] = threads_[i].Get();
    DWORD result = ::MsgWaitForMultipleObjects(count_, handles, FALSE, INFINITE, QS_ALLINPUT);
    if (result == WAIT_FAILED) {
        ShowManagerBox(kWaitFailedText);
        return;
    }
    if (result < WAIT_OBJECT_0 + count_) {
        RemoveThread(result - WAIT_OBJECT_0);
        return;
    }
    if (result == WAIT_OBJECT_0 + count_) {
        // Only what is there is taken: input that was a sent message or a paint leaves no posted
        // message behind, and a blocking GetMessageW would then miss the threads' ends.
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == kNewWindowMessage)
                AddWindowThread(L"", SW_SHOWNORMAL);
            else
                ::MessageBeep(0xFFFFFFFF);
        }
        return;
    }
    ::MessageBeep(0xFFFFFFFF);
}

int CWindowThreadManager::Run(const wchar_t* commandLine, int showCommand)
{
    MSG msg{};
    ::PeekMessageW(&msg, nullptr, kNewWindowMessage, kNewWindowMessage, PM_NOREMOVE);
    AddWindowThread(commandLine, showCommand);
    if (count_ == 0)
        return 0;
    int result = static_cast<int>(count_);
    while (count_ > 0)
        WaitOnce();
    return result;
}

}}
