#pragma once
// What the window and the dialog procedure share: the message being handled is recorded as the
// current one, and the map is asked without letting an exception out.
#include <windows.h>

#include "Framework/MessageMap.h"

namespace Framework {

// Records a message as the current one for as long as it is handled, and restores the outer one
// (a handler may send messages to its own window).
class CurrentMessageScope {
public:
    CurrentMessageScope(const MSG*& slot, const MSG& message) noexcept : slot_(slot), outer_(slot) { slot_ = &message; }
    ~CurrentMessageScope() { slot_ = outer_; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    const MSG*& slot_;
    const MSG* outer_;
};

// Offers the message to the map; false when the map threw, with handled false. Nothing may unwind
// through the system's procedure frames, so each caller decides what a throwing handler has answered.
inline bool ProcessWithoutThrowing(CMessageMap& map, HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result, bool& handled) noexcept
{
    try {
        handled = map.ProcessWindowMessage(window, msg, wParam, lParam, result, 0);
        return true;
    } catch (...) {
        handled = false;
        return false;
    }
}

}
