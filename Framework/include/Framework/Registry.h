#pragma once
// A registry key owner with the reads and writes the programs need, and the removal of a key with
// everything below it. Results are Win32 error codes (ERROR_SUCCESS on success).
#include "Framework/Handles.h"

#include <string>

namespace Framework {

class RegistryKey {
public:
    RegistryKey() noexcept = default;

    // RegCreateKeyExW: opens the key, creating it (and missing parents) when needed.
    LONG Create(HKEY parent, const std::wstring& path, REGSAM access = KEY_ALL_ACCESS) noexcept;
    LONG Open(HKEY parent, const std::wstring& path, REGSAM access = KEY_READ) noexcept;
    void Close() noexcept { key_.Reset(); }
    HKEY Get() const noexcept { return key_.Get(); }
    explicit operator bool() const noexcept { return key_.IsValid(); }

    // REG_SZ whose size counts the terminating zero. A null name is the default value.
    LONG SetString(const wchar_t* name, const std::wstring& value) noexcept;
    // A REG_SZ or REG_EXPAND_SZ value (not expanded), up to its first NUL or its stored end when it
    // has no terminator; another type gives ERROR_UNSUPPORTED_TYPE.
    LONG QueryString(const wchar_t* name, std::wstring& value) const;
    LONG DeleteValue(const wchar_t* name) noexcept;
    // The name of the sub-key at index; ERROR_NO_MORE_ITEMS after the last.
    LONG EnumSubKey(DWORD index, std::wstring& name) const;
    LONG CountValues(DWORD& count) const noexcept;

private:
    ScopedRegKey key_;
};

// Creates parent\path when missing (all access, default security) and writes the REG_SZ value name
// in it (a null name is the default value).
LONG WriteStringValue(HKEY parent, const std::wstring& path, const wchar_t* name, const std::wstring& value);
// Removes the value name of parent\path; a missing key or value is ERROR_SUCCESS (nothing to remove).
LONG DeleteValueIfPresent(HKEY parent, const std::wstring& path, const wchar_t* name);

// Deletes parent\path with all its sub-keys. A missing key is ERROR_SUCCESS (nothing to delete).
// A sub-key that cannot be deleted is left, the walk goes on with the others and the first failure
// is returned; the walk always ends, also over keys that link back to an ancestor.
LONG DeleteKeyTree(HKEY parent, const std::wstring& path);
// The same, but only when parent\path holds no value; a key with values stays untouched
// (ERROR_SUCCESS). Missing: ERROR_SUCCESS.
LONG DeleteKeyTreeIfNoValues(HKEY parent, const std::wstring& path);

}
