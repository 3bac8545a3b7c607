#pragma once
// Registry keys that nobody may write or delete, for the tests of failing registry writes.
#include <windows.h>

#include <string>

namespace TestSupport {

// Gives the key an empty access list (locked) or its inherited one back (not locked). A key with an
// empty access list can be opened by nobody but for its access list: it can be neither written
// nor deleted. A Win32 error code, ERROR_SUCCESS when done.
LONG LockRegistryKey(HKEY root, const std::wstring& path, bool locked);

}
