#include "Framework/FrameWindow.h"

#include "Framework/Module.h"
#include "Framework/Resources.h"

namespace Framework {

namespace {

// The WM_MENUSELECT flags (with no menu) that say the menu has closed.
constexpr UINT kMenuClosedFlags = 0xFFFF;

int WindowHeight(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

}

void CFrameWindowImplBase::UpdateLayout(HWND frame, bool resizeBars)
{
    RECT client{};
    ::GetClientRect(frame, &client);
    if (m_hWndToolBar && ::IsWindowVisible(m_hWndToolBar)) {
        if (resizeBars)
            ::SendMessageW(m_hWndToolBar, WM_SIZE, 0, 0);
        client.top += WindowHeight(m_hWndToolBar);
    }
    if (m_hWndStatusBar && ::IsWindowVisible(m_hWndStatusBar)) {
        if (resizeBars)
            ::SendMessageW(m_hWndStatusBar, WM_SIZE, 0, 0);
        client.bottom -= WindowHeight(m_hWndStatusBar);
    }
    if (client.bottom < client.top)
        client.bottom = client.top;
    if (m_hWndClient)
        ::SetWindowPos(m_hWndClient, nullptr, client.left, client.top, client.right - client.left,
                       client.bottom - client.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameWindowImplBase::ShowMenuHelp(WPARAM wParam, LPARAM lParam)
{
    if (!m_hWndStatusBar)
        return;
    UINT item = LOWORD(wParam);
    UINT flags = HIWORD(wParam);
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (flags == kMenuClosedFlags && !menu) {
        // The menu closed: back to the panes.
        ::SendMessageW(m_hWndStatusBar, SB_SIMPLE, FALSE, 0);
        return;
    }
    std::wstring text;
    if (!(flags & (MF_POPUP | MF_SEPARATOR)) && item != 0) {
        text = LoadResourceString(item);
        size_t end = text.find(L'\n');
        if (end != std::wstring::npos)
            text.resize(end);
    }
    ::SendMessageW(m_hWndStatusBar, SB_SIMPLE, TRUE, 0);
    ::SendMessageW(m_hWndStatusBar, SB_SETTEXTW, SB_SIMPLEID | SBT_NOBORDERS, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring CFrameWindowImplBase::LoadFrameResources(UINT resourceId)
{
    if (!m_hMenu)
        m_hMenu = ::LoadMenuW(Module().GetResourceInstance(), MAKEINTRESOURCEW(resourceId));
    if (!m_hAccel)
        m_hAccel = ::LoadAcceleratorsW(Module().GetResourceInstance(), MAKEINTRESOURCEW(resourceId));
    return LoadResourceString(resourceId);
}

}
