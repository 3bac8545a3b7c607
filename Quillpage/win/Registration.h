#pragma once
// The server's two classes and its self-registration: the COM class keys, the MMC snap-in key that
// Orvanedock and MMC read, and one value per extended node type.
#include <windows.h>

#include <string>

namespace Orvane::Quillon {

// The property-sheet extension, {8BC324A4-8A49-4E7A-B2BF-6ED3E5630C2F}.
extern const CLSID CLSID_PropSheetExtension;
// The snap-in About object, {EFA41C35-F062-46F7-B1A6-2AFA253900B3}.
extern const CLSID CLSID_SnapinAbout;

// Which MMC extension an ExtensionNodeTable entry registers.
enum ExtensionKind : int {
    NameSpaceExtension = 0,
    ContextMenuExtension = 1,
    ToolBarExtension = 2,
    PropertySheetExtension = 3,
    TaskExtension = 4,
    DynamicExtension = 5,
    EndOfExtensions = 6,
};

struct ExtensionNode {
    int kind;
    GUID nodeType;
    CLSID extension;
    wchar_t displayName[256];  // an empty name ends the table
};

// The node types the extension extends, ended by an entry with an empty name.
extern const ExtensionNode ExtensionNodeTable[];

// The key below HKEY_LOCAL_MACHINE under which an entry's value stands:
// "SOFTWARE\Microsoft\MMC\NodeTypes\" + node type + the kind's sub-key; empty for an unknown kind.
std::wstring ExtensionKeyPath(const ExtensionNode& node);

// Writes every key and value (module path: the server's file, names: the module's string table).
// A key or value that cannot be written is skipped and the others are still written; the result is
// then SELFREG_E_CLASS, else S_OK.
HRESULT RegisterServer(const std::wstring& modulePath, HINSTANCE resources) noexcept;
// Removes the class keys and the snap-in key with everything below them, and this extension's value
// under each node type (the node type's key goes only when no other extension's value is left).
// Missing keys and values are no failure; one that cannot be removed gives SELFREG_E_CLASS.
HRESULT UnregisterServer() noexcept;

}
