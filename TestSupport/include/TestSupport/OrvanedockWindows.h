#pragma once
// Orvanedock's windows as the tests and the demo driver find them from another process. Orvanedock's
// own tests check the names against its frame's.
#include <TestSupport/WindowDriver.h>

#include <windows.h>

namespace TestSupport {

constexpr wchar_t kOrvanedockFrameClass[] = L"Orvanedock Window Class";
// The program's caption, also that of its message boxes.
constexpr wchar_t kOrvanedockCaption[] = L"Orvanedock";
constexpr int kOrvanedockTreeId = 1002;

// The id of a property sheet's tab control, as the common controls make it.
constexpr int kSheetTabControlId = 0x3020;

// A shown property sheet: a dialog with a sheet's tab control.
inline bool IsShownPropertySheet(HWND window)
{
    return ClassNameOf(window) == L"#32770" && ::IsWindowVisible(window) && ::GetDlgItem(window, kSheetTabControlId);
}

}
