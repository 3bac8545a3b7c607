#pragma once
// The text that the data object hands an extension for a node: its metabase path followed by "/",
// the server level "/LM/W3SVC//" for the root.
#include <string>

namespace Orvane::Orvanedock {

// Characters of the receiver's block, terminator included.
inline constexpr size_t kDataObjectChars = 256;

// The text, at most kDataObjectChars - 1 characters. A path that leaves no room for the "/" is given
// without it (it names the same node); a longer path gives an empty text, never a cut one.
std::wstring DataObjectText(const std::wstring* metabasePath);

}
