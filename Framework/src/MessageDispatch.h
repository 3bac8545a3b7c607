#pragma once
// What the window and the dialog procedures share: the message being handled is recorded as the
// current one, the map is asked without letting an exception out, and a dialog's answer is given.
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

// Messages whose answer is the dialog procedure's return value rather than DWLP_MSGRESULT.
inline bool ReturnsDirectly(UINT msg) noexcept
{
    switch (msg) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

// What a dialog procedure returns for a message that its map handled with the result.
inline INT_PTR DialogAnswer(HWND window, UINT msg, LRESULT result) noexcept
{
    if (ReturnsDirectly(msg))
        return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
    return TRUE;
}

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
