#pragma once
// The property-sheet extension that the class factory creates for its extension class.
#include <windows.h>

namespace Orvane::Quillon {

// Creates a new extension (reference count 0, no data object) and hands it out as iid through its
// own QueryInterface; the object counts as live until its last Release.
HRESULT CreatePropSheetExtension(REFIID iid, void** out) noexcept;

}
