#pragma once
// Module-wide state of the COM server: its own path and folder (where every sibling deliverable is
// found) and the clipboard formats registered at load.
#include <windows.h>

#include <string>

namespace Orvane::Quillon {

struct ClipboardFormats {
    UINT displayName;  // "CCF_DISPLAY_NAME"
    UINT nodeType;     // "CCF_NODETYPE"
    UINT snapinClassId;  // "CCF_SNAPIN_CLASSID"
    UINT metaPath;     // "ISM_SNAPIN_META_PATH"
};

// The four formats, registered during static initialisation, before DllMain.
const ClipboardFormats& RegisteredClipboardFormats() noexcept;

// Runs once: reads the module path, initialises the framework's module with the instance and the
// common controls, loads the rich edit library. False when the path or the library cannot be had.
bool InitModule(HINSTANCE instance);
// Undoes InitModule once (frees the rich edit library, ends the framework's module).
void TermModule() noexcept;
bool ModuleInitialised() noexcept;

// Full path of the module file. (Its instance is the framework module's, GetModuleInstance.)
const std::wstring& ModulePath() noexcept;
// The module path up to and including its last "\".
const std::wstring& ModuleDirectory() noexcept;

}
