#pragma once
// Private window messages of Quillpen.
#include <windows.h>

namespace Orvane { namespace Quillpen {

// Sent by the view to its frame after the caret may have moved.
constexpr UINT WM_CARET_MOVED = 0x7E8;

}}
