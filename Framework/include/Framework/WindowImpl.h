#pragma once
// Windows implemented by a C++ object: window class registration (own classes and superclasses
// of system controls), the binding of the object to its window, and subclassing of an existing
// window. The object is found through a window property; messages that arrive before
// WM_NCCREATE (WM_GETMINMAXINFO) already reach it, because the object being created on this
// thread is bound by the first message its window receives.
#include "Framework/FinalMessage.h"
#include "Framework/MessageMap.h"
#include "Framework/Window.h"

#include <mutex>

namespace Framework {

// Registration data of one window class, registered once per process on first use.
class CWndClassInfo {
public:
    // An own class with the framework's window procedure.
    CWndClassInfo(const wchar_t* className, UINT style, HBRUSH background, UINT iconId = 0) noexcept;
    // A superclass of an existing class (a system control); its procedure handles what the map leaves.
    CWndClassInfo(const wchar_t* className, const wchar_t* baseClassName) noexcept;

    // Registers the class if needed; 0 on failure.
    ATOM Register(HINSTANCE instance);
    const wchar_t* ClassName() const noexcept { return className_; }
    WNDPROC BaseProc() const noexcept { return baseProc_; }

private:
    const wchar_t* className_;
    const wchar_t* baseClassName_;
    UINT style_;
    HBRUSH background_;
    UINT iconId_;
    ATOM atom_ = 0;
    WNDPROC baseProc_ = ::DefWindowProcW;
    std::once_flag once_;
};

// The type-independent part of every window object.
class CWindowImplRoot : public CMessageMap {
public:
    CWindowImplRoot(const CWindowImplRoot&) = delete;
    CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;

    // The message being processed, or null outside a handler.
    const MSG* GetCurrentMessage() const noexcept { return currentMsg_; }

    // The object bound to a window by this framework, or null.
    static CWindowImplRoot* FromHandle(HWND window) noexcept;

protected:
    CWindowImplRoot() = default;
    virtual ~CWindowImplRoot();

    virtual HWND& HandleRef() noexcept = 0;
    // Called after WM_NCDESTROY, when the handle is already cleared.
    virtual void OnFinalMessage(HWND) {}

    HWND CreateImpl(CWndClassInfo& info, HWND parent, const RECT* rect, const wchar_t* name, DWORD style,
                    DWORD exStyle, HMENU menuOrId, void* param);
    bool SubclassImpl(HWND window);
    HWND UnsubclassImpl();

    // The procedure under this object's map: the base class's, the subclassed one, or DefWindowProcW.
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The same for the message being processed.
    LRESULT DefaultProc();

public:
    // The window procedure of every class registered through CWndClassInfo.
    static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void Bind(HWND window);

    WNDPROC superProc_ = ::DefWindowProcW;
    HWND bound_ = nullptr;
    bool subclassed_ = false;
    const MSG* currentMsg_ = nullptr;
    FinalMessage final_;
};

template <class TBase = CWindow>
class CWindowImplBaseT : public TBase, public CWindowImplRoot {
public:
    bool SubclassWindow(HWND window) { return SubclassImpl(window); }
    HWND UnsubclassWindow() { return UnsubclassImpl(); }

protected:
    HWND& HandleRef() noexcept override { return this->m_hWnd; }
};

// T declares its class with FW_DECLARE_WND_CLASS or FW_DECLARE_WND_SUPERCLASS.
template <class T, class TBase = CWindow>
class CWindowImpl : public CWindowImplBaseT<TBase> {
public:
    HWND Create(HWND parent, const RECT* rect = nullptr, const wchar_t* name = nullptr, DWORD style = 0,
                DWORD exStyle = 0, UINT_PTR menuOrId = 0, void* param = nullptr)
    {
        return this->CreateImpl(T::GetWndClassInfo(), parent, rect, name, style, exStyle,
                                reinterpret_cast<HMENU>(menuOrId), param);
    }
};

}

#define FW_DECLARE_WND_CLASS_EX(className, style, background)                                                  \
    static ::Framework::CWndClassInfo& GetWndClassInfo()                                                         \
    {                                                                                                            \
        static ::Framework::CWndClassInfo info(className, style, background);                                    \
        return info;                                                                                             \
    }

#define FW_DECLARE_WND_CLASS(className)                                                                          \
    FW_DECLARE_WND_CLASS_EX(className, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))

#define FW_DECLARE_WND_SUPERCLASS(className, baseClassName)                                                      \
    static ::Framework::CWndClassInfo& GetWndClassInfo()                                                         \
    {                                                                                                            \
        static ::Framework::CWndClassInfo info(className, baseClassName);                                        \
        return info;                                                                                             \
    }
