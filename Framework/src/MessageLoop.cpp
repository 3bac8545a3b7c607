#include "Framework/MessageLoop.h"

#include <algorithm>

namespace Framework {

namespace {

// The system's timer message that blinks the caret (WM_SYSTIMER, which the headers do not name).
constexpr UINT kCaretBlinkMessage = 0x0118;

template <typename T>
bool AddUnique(std::vector<T*>& list, T* item)
{
    if (!item || std::find(list.begin(), list.end(), item) != list.end())
        return false;
    list.push_back(item);
    return true;
}

template <typename T>
bool RemoveItem(std::vector<T*>& list, T* item)
{
    auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end())
        return false;
    list.erase(found);
    return true;
}

}

bool CMessageLoop::AddMessageFilter(CMessageFilter* filter) { return AddUnique(filters_, filter); }
bool CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) { return RemoveItem(filters_, filter); }
bool CMessageLoop::AddIdleHandler(CIdleHandler* handler) { return AddUnique(idleHandlers_, handler); }
bool CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) { return RemoveItem(idleHandlers_, handler); }

bool CMessageLoop::PreTranslateMessage(MSG* msg)
{
    // A copy, because a filter may remove itself (its window closing) while it runs.
    std::vector<CMessageFilter*> filters(filters_);
    for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
        if ((*it)->PreTranslateMessage(msg))
            return true;
    }
    return false;
}

bool CMessageLoop::OnIdle(int)
{
    std::vector<CIdleHandler*> handlers(idleHandlers_);
    bool more = false;
    for (CIdleHandler* handler : handlers)
        more = handler->OnIdle() || more;
    return more;
}

bool CMessageLoop::IsIdleMessage(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case WM_TIMER:
    case kCaretBlinkMessage:
        return false;
    default:
        return true;
    }
}

int CMessageLoop::Run()
{
    bool doIdle = true;
    int idleCount = 0;
    MSG msg{};
    for (;;) {
        while (doIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                doIdle = false;
        }
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            continue; // an invalid filter argument; nothing to dispatch
        if (!got)
            return static_cast<int>(msg.wParam);
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (IsIdleMessage(msg)) {
            doIdle = true;
            idleCount = 0;
        }
    }
}

}
