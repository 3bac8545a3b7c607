#pragma once
// Message maps: one handler per message or command, searched in the order written.
// A handler may clear its handled flag to let the search go on. Alternate maps are selected
// by number; chained maps pass the message on to a base class or a member.
//
//   FW_BEGIN_MSG_MAP(CMyWindow)
//       FW_MESSAGE_HANDLER(WM_CREATE, OnCreate)        LRESULT OnCreate(UINT, WPARAM, LPARAM, bool& handled)
//       FW_COMMAND_ID_HANDLER(ID_APPLY, OnApply)       LRESULT OnApply(WORD code, WORD id, HWND control, bool& handled)
//       FW_NOTIFY_CODE_HANDLER(TVN_SELCHANGED, OnSel)  LRESULT OnSel(int id, NMHDR* header, bool& handled)
//       FW_CHAIN_MSG_MAP(CBase)
//   FW_ALT_MSG_MAP(1)
//       ...
//   FW_END_MSG_MAP()
#include <windows.h>

namespace Framework {

class CMessageMap {
public:
    // True when the message was handled; result then holds the window procedure's answer.
    virtual bool ProcessWindowMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                      DWORD mapId = 0) = 0;

protected:
    ~CMessageMap() = default;
};

}

#define FW_MSG_MAP_BODY_BEGIN()                                                                                  \
    {                                                                                                            \
        (void)hWnd;                                                                                              \
        (void)uMsg;                                                                                              \
        (void)wParam;                                                                                            \
        (void)lParam;                                                                                            \
        (void)lResult;                                                                                           \
        bool bHandled = true;                                                                                    \
        (void)bHandled;                                                                                          \
        switch (dwMsgMapID) {                                                                                    \
        case 0:

// Starts the map of a class that derives from a framework window, dialog or CMessageMap.
#define FW_BEGIN_MSG_MAP(thisClass)                                                                              \
public:                                                                                                          \
    bool ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,             \
                              DWORD dwMsgMapID = 0) override                                                     \
        FW_MSG_MAP_BODY_BEGIN()

// Starts the map of a mix-in class that is chained to but is no window itself.
#define FW_BEGIN_MSG_MAP_MIXIN(thisClass)                                                                        \
public:                                                                                                          \
    bool ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,             \
                              DWORD dwMsgMapID = 0)                                                              \
        FW_MSG_MAP_BODY_BEGIN()

// The body every handler entry shares: when the entry matches, the handler runs with the handled
// flag set, and a handler that leaves it set ends the search with its result.
#define FW_HANDLER_ENTRY_(matches, call)                                                                         \
    if (matches) {                                                                                               \
        bHandled = true;                                                                                         \
        lResult = call;                                                                                          \
        if (bHandled)                                                                                            \
            return true;                                                                                         \
    }

#define FW_COMMAND_ARGS_ HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled
#define FW_NOTIFY_ARGS_ static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), bHandled

#define FW_MESSAGE_HANDLER(msg, func) FW_HANDLER_ENTRY_(uMsg == (msg), func(uMsg, wParam, lParam, bHandled))

#define FW_MESSAGE_RANGE_HANDLER(first, last, func)                                                              \
    FW_HANDLER_ENTRY_(uMsg >= (first) && uMsg <= (last), func(uMsg, wParam, lParam, bHandled))

#define FW_COMMAND_HANDLER(id, code, func)                                                                       \
    FW_HANDLER_ENTRY_(uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code),                  \
                      func(FW_COMMAND_ARGS_))

// Matches the command identifier whatever the notification code.
#define FW_COMMAND_ID_HANDLER(id, func)                                                                          \
    FW_HANDLER_ENTRY_(uMsg == WM_COMMAND && LOWORD(wParam) == (id), func(FW_COMMAND_ARGS_))

#define FW_COMMAND_CODE_HANDLER(code, func)                                                                      \
    FW_HANDLER_ENTRY_(uMsg == WM_COMMAND && HIWORD(wParam) == (code), func(FW_COMMAND_ARGS_))

#define FW_COMMAND_RANGE_HANDLER(first, last, func)                                                              \
    FW_HANDLER_ENTRY_(uMsg == WM_COMMAND && LOWORD(wParam) >= (first) && LOWORD(wParam) <= (last),               \
                      func(FW_COMMAND_ARGS_))

#define FW_NOTIFY_HANDLER(id, notifyCode, func)                                                                  \
    FW_HANDLER_ENTRY_(uMsg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->idFrom == static_cast<UINT_PTR>(id) && \
                          reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(notifyCode),               \
                      func(FW_NOTIFY_ARGS_))

#define FW_NOTIFY_CODE_HANDLER(notifyCode, func)                                                                 \
    FW_HANDLER_ENTRY_(uMsg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(notifyCode), \
                      func(FW_NOTIFY_ARGS_))

#define FW_CHAIN_MSG_MAP(baseClass)                                                                              \
    if (baseClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))                                    \
        return true;

#define FW_CHAIN_MSG_MAP_ALT(baseClass, mapId)                                                                   \
    if (baseClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, mapId))                             \
        return true;

#define FW_CHAIN_MSG_MAP_MEMBER(member)                                                                          \
    if ((member).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))                                      \
        return true;

#define FW_CHAIN_MSG_MAP_ALT_MEMBER(member, mapId)                                                               \
    if ((member).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, mapId))                               \
        return true;

#define FW_ALT_MSG_MAP(mapId)                                                                                    \
    break;                                                                                                       \
    case mapId:

#define FW_END_MSG_MAP()                                                                                         \
    break;                                                                                                       \
    default:                                                                                                     \
        break;                                                                                                   \
        }                                                                                                        \
        return false;                                                                                            \
    }
