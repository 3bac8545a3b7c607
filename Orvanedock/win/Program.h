#pragma once
// Orvanedock's start: one instance at a time, COM on the UI thread, the frame and its loop.
#include <windows.h>

#include <Framework/Handles.h>

namespace Orvane::Orvanedock {

inline constexpr wchar_t kMutexName[] = L"Orvanedock Mutex";

// False when another instance runs; its window is brought forward then. mutex owns the program's
// mutex (when it could be created) either way.
bool CheckSingleInstance(Framework::ScopedHandle& mutex);
// The frame's loop; the code of WM_QUIT (1 after a normal end), 0 when the frame cannot be created.
int RunMainFrame(int showCommand);

}
