#pragma once
// When a window object of this framework gets its final call (OnFinalMessage).
#include <windows.h>

namespace Framework {

// When a window object's final call may run: a window can be destroyed while one of its handlers
// runs (a modal loop in which its owner goes, a handler that destroys its own window), and the
// object, which that call may free, must outlive every handler of it still on the stack.
class FinalMessage {
public:
    void Enter() noexcept { ++depth_; }
    void Leave() noexcept { --depth_; }
    // The window has had its WM_NCDESTROY.
    void Destroyed(HWND window) noexcept { destroyed_ = window; }
    // The destroyed window, once no message of the object is being handled any more (and then only
    // once); null until then.
    HWND Due() noexcept
    {
        if (depth_ != 0 || !destroyed_)
            return nullptr;
        HWND window = destroyed_;
        destroyed_ = nullptr;
        return window;
    }

private:
    int depth_ = 0;
    HWND destroyed_ = nullptr;
};

// Counts one message of an object as being handled for as long as it lives.
class NestedMessage {
public:
    explicit NestedMessage(FinalMessage& final) noexcept : final_(final) { final_.Enter(); }
    ~NestedMessage() { final_.Leave(); }
    NestedMessage(const NestedMessage&) = delete;
    NestedMessage& operator=(const NestedMessage&) = delete;

private:
    FinalMessage& final_;
};

}
