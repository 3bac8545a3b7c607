#pragma once
// The node types of the IIS manager's tree, under which MMC's registry lists the extensions of each
// node: {A841B6Cx-7577-11D0-BB1F-00A0C922E79C}, x by node type. Constants, so that a registration
// table can hold them from the start.
#include <windows.h>

namespace IisNodeType {

constexpr GUID Of(unsigned long first)
{
    return GUID{first, 0x7577, 0x11D0, {0xBB, 0x1F, 0x00, 0xA0, 0xC9, 0x22, 0xE7, 0x9C}};
}

// "IIS Web Sites", the server level.
inline constexpr GUID kWebSites = Of(0xA841B6C5);
inline constexpr GUID kWebSite = Of(0xA841B6C7);
// Virtual directories and applications alike.
inline constexpr GUID kVirtualDirectory = Of(0xA841B6C8);
inline constexpr GUID kDirectory = Of(0xA841B6C9);

}
