#pragma once
// A top-level frame: bars at the top (m_hWndToolBar, usually a rebar) and bottom
// (m_hWndStatusBar), a client window filling the rest, accelerators and caption from the frame's
// common resource identifier, menu-item help texts in the status bar, and the quit message when
// a top-level frame is destroyed.
#include "Framework/Bars.h"
#include "Framework/WindowImpl.h"

namespace Framework {

class CFrameWindowImplBase {
public:
    HWND m_hWndToolBar = nullptr;
    HWND m_hWndStatusBar = nullptr;
    HWND m_hWndClient = nullptr;
    HACCEL m_hAccel = nullptr;
    HMENU m_hMenu = nullptr;

    // Places the bars and the client inside the frame's client area.
    void UpdateLayout(HWND frame, bool resizeBars = true);

protected:
    // Shows the first part of a menu item's string resource in the status bar while it is highlighted.
    void ShowMenuHelp(WPARAM wParam, LPARAM lParam);
    // Loads the menu, accelerators and caption of the resource identifier; the caption text.
    std::wstring LoadFrameResources(UINT resourceId);
};

template <class T, class TBase = CWindow>
class CFrameWindowImpl : public CWindowImpl<T, TBase>, public CFrameWindowImplBase {
public:
    // T declares FW_DECLARE_FRAME_WND_CLASS(name, resourceId).
    HWND CreateEx(HWND parent = nullptr, const RECT* rect = nullptr, DWORD style = 0, DWORD exStyle = 0,
                  void* param = nullptr)
    {
        std::wstring caption = LoadFrameResources(T::kFrameResourceId);
        if (!style)
            style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        if (!exStyle)
            exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        HWND window = this->CreateImpl(T::GetWndClassInfo(), parent, rect, caption.c_str(), style, exStyle,
                                       m_hMenu, param);
        if (!window && m_hMenu) {
            ::DestroyMenu(m_hMenu);
            m_hMenu = nullptr;
        }
        return window;
    }

    FW_BEGIN_MSG_MAP(CFrameWindowImpl)
        FW_MESSAGE_HANDLER(WM_SIZE, OnFrameSize)
        FW_MESSAGE_HANDLER(WM_ERASEBKGND, OnFrameEraseBackground)
        FW_MESSAGE_HANDLER(WM_SETFOCUS, OnFrameSetFocus)
        FW_MESSAGE_HANDLER(WM_MENUSELECT, OnFrameMenuSelect)
        FW_MESSAGE_HANDLER(WM_DESTROY, OnFrameDestroy)
    FW_END_MSG_MAP()

protected:
    LRESULT OnFrameSize(UINT, WPARAM wParam, LPARAM, bool& handled)
    {
        if (wParam != SIZE_MINIMIZED)
            UpdateLayout(this->m_hWnd);
        handled = false;
        return 0;
    }
    LRESULT OnFrameEraseBackground(UINT, WPARAM, LPARAM, bool& handled)
    {
        // The client covers the whole area; erasing under it only flickers.
        if (m_hWndClient)
            return 1;
        handled = false;
        return 0;
    }
    LRESULT OnFrameSetFocus(UINT, WPARAM, LPARAM, bool& handled)
    {
        if (m_hWndClient && ::IsWindow(m_hWndClient))
            ::SetFocus(m_hWndClient);
        handled = false;
        return 0;
    }
    LRESULT OnFrameMenuSelect(UINT, WPARAM wParam, LPARAM lParam, bool& handled)
    {
        ShowMenuHelp(wParam, lParam);
        handled = false;
        return 0;
    }
    LRESULT OnFrameDestroy(UINT, WPARAM, LPARAM, bool& handled)
    {
        if (!(this->GetStyle() & WS_CHILD))
            ::PostQuitMessage(1);
        handled = false;
        return 0;
    }
};

}

#define FW_DECLARE_FRAME_WND_CLASS(className, resourceId)                                                        \
    enum { kFrameResourceId = resourceId };                                                                      \
    static ::Framework::CWndClassInfo& GetWndClassInfo()                                                         \
    {                                                                                                            \
        static ::Framework::CWndClassInfo info(className, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,                  \
                                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), resourceId);          \
        return info;                                                                                             \
    }
