#include "WindowThreadManager.h"

#include "EditorThread.h"
#include "Strings.h"

#include <memory>
#include <new>

namespace Orvane { namespace Quillpen {

namespace {

void ShowManagerBox(const wchar_t* text) { ::MessageBoxW(nullptr, text, kManagerBoxTitle, MB_OK); }

}

CWindowThreadManager::CWindowThreadManager(LPTHREAD_START_ROUTINE threadStart)
    : threadStart_(threadStart ? threadStart : &EditorThreadProc)
{
}

CWindowThreadManager::~CWindowThreadManager()
{
    for (DWORD i = 0; i < count_; ++i)
        ::CloseHandle(handles_[i]);
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
    handles_[count_++] = thread;
    return id;
}

void CWindowThreadManager::RemoveThread(DWORD index)
{
    ::CloseHandle(handles_[index]);
    if (index != count_ - 1)
        handles_[index] = handles_[count_ - 1];
    handles_[--count_] = nullptr;
}

void CWindowThreadManager::WaitOnce()
{
    DWORD result = ::MsgWaitForMultipleObjects(count_, handles_, FALSE, INFINITE, QS_ALLINPUT);
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
            if (msg.message == WM_USER)
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
    ::PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    AddWindowThread(commandLine, showCommand);
    if (count_ == 0)
        return 0;
    int result = static_cast<int>(count_);
    while (count_ > 0)
        WaitOnce();
    return result;
}

}}
