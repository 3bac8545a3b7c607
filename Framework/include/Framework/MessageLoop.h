#pragma once
// The message loop of one UI thread, with pre-translate filters and idle handlers.
#include <windows.h>
#include <vector>

namespace Framework {

class CMessageFilter {
public:
    // True when the message was handled and must not be translated and dispatched.
    virtual bool PreTranslateMessage(MSG* msg) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    // True when the handler wants more idle calls before the next message.
    virtual bool OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    CMessageLoop() = default;
    virtual ~CMessageLoop() = default;
    CMessageLoop(const CMessageLoop&) = delete;
    CMessageLoop& operator=(const CMessageLoop&) = delete;

    bool AddMessageFilter(CMessageFilter* filter);
    bool RemoveMessageFilter(CMessageFilter* filter);
    bool AddIdleHandler(CIdleHandler* handler);
    bool RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT and returns its exit code.
    int Run();

    // The filters, latest first; true when one of them handled the message.
    virtual bool PreTranslateMessage(MSG* msg);
    // The idle handlers; true when any of them wants more idle time.
    virtual bool OnIdle(int idleCount);

    // Messages that do not end an idle period (mouse moves, paints, caret blinks).
    static bool IsIdleMessage(const MSG& msg);

private:
    std::vector<CMessageFilter*> filters_;
    std::vector<CIdleHandler*> idleHandlers_;
};

}
