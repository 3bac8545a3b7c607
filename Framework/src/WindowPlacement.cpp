#include "Framework/WindowPlacement.h"

namespace Framework {

bool CenterOnWorkArea(HWND window)
{
    RECT frame{};
    RECT area{};
    if (!::GetWindowRect(window, &frame) || !::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        return false;
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int x = area.left + ((area.right - area.left) - width) / 2;
    int y = area.top + ((area.bottom - area.top) - height) / 2;
    return ::SetWindowPos(window, nullptr, x < area.left ? area.left : x, y < area.top ? area.top : y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}
