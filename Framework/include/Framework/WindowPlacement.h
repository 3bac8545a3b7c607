#pragma once
// Placing top-level windows on the screen.
#include <windows.h>

namespace Framework {

// Centres the window on the work area of the primary monitor (the screen without the task bar),
// keeping its top-left corner inside the area; false when a position could not be read.
bool CenterOnWorkArea(HWND window);

}
