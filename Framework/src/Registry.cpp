#include "Framework/Registry.h"

#include <vector>

namespace Framework {

namespace {

// The registry itself allows no deeper nesting; a deeper walk can only be a cycle through links.
constexpr int maxKeyDepth = 512;
// Sub-key names are at most 255 characters.
constexpr DWORD maxKeyNameLength = 256;

LONG DeleteTree(HKEY parent, const std::wstring& path, int depth)
{
    if (depth > maxKeyDepth)
        return ERROR_CANTWRITE;
    RegistryKey key;
    LONG result = key.Open(parent, path, KEY_READ | DELETE);
    if (result == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS)
        return result;

    // Collect the names first: deleting while enumerating by index could revisit a key that stays.
    std::vector<std::wstring> children;
    LONG failure = ERROR_SUCCESS;
    for (DWORD index = 0;; ++index) {
        std::wstring name;
        LONG found = key.EnumSubKey(index, name);
        if (found == ERROR_NO_MORE_ITEMS)
            break;
        if (found != ERROR_SUCCESS) {
            failure = found;
            break;
        }
        children.push_back(std::move(name));
    }
    for (const std::wstring& child : children) {
        LONG deleted = DeleteTree(key.Get(), child, depth + 1);
        if (deleted != ERROR_SUCCESS && failure == ERROR_SUCCESS)
            failure = deleted;
    }
    key.Close();
    result = ::RegDeleteKeyW(parent, path.c_str());
    if (result == ERROR_FILE_NOT_FOUND)
        result = ERROR_SUCCESS;
    return failure != ERROR_SUCCESS ? failure : result;
}

}

LONG RegistryKey::Create(HKEY parent, const std::wstring& path, REGSAM access) noexcept
{
    return ::RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                             key_.Receive(), nullptr);
}

LONG RegistryKey::Open(HKEY parent, const std::wstring& path, REGSAM access) noexcept
{
    return ::RegOpenKeyExW(parent, path.c_str(), 0, access, key_.Receive());
}

LONG RegistryKey::SetString(const wchar_t* name, const std::wstring& value) noexcept
{
    size_t bytes = (value.size() + 1) * sizeof(wchar_t);
    if (bytes > MAXDWORD)
        return ERROR_INVALID_PARAMETER;
    return ::RegSetValueExW(key_.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(bytes));
}

LONG RegistryKey::QueryString(const wchar_t* name, std::wstring& value) const
{
    // A value that keeps growing between the size query and the read is given up on, not chased.
    for (int attempt = 0; attempt < 8; ++attempt) {
        DWORD type = 0;
        DWORD bytes = 0;
        LONG result = ::RegQueryValueExW(key_.Get(), name, nullptr, &type, nullptr, &bytes);
        if (result != ERROR_SUCCESS)
            return result;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return ERROR_UNSUPPORTED_TYPE;
        // One spare character, always zero, so that a value without a terminator still ends.
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
        DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
        result = ::RegQueryValueExW(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (result == ERROR_MORE_DATA)
            continue;  // the value grew between the two calls
        if (result != ERROR_SUCCESS)
            return result;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return ERROR_UNSUPPORTED_TYPE;
        size_t stored = size / sizeof(wchar_t);
        size_t length = 0;
        while (length < stored && buffer[length] != L'\0')
            ++length;
        value.assign(buffer.data(), length);
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

LONG RegistryKey::DeleteValue(const wchar_t* name) noexcept
{
    return ::RegDeleteValueW(key_.Get(), name);
}

LONG RegistryKey::EnumSubKey(DWORD index, std::wstring& name) const
{
    wchar_t buffer[maxKeyNameLength];
    DWORD length = maxKeyNameLength;
    LONG result = ::RegEnumKeyExW(key_.Get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS)
        name.assign(buffer, length < maxKeyNameLength ? length : maxKeyNameLength - 1);
    return result;
}

LONG RegistryKey::CountValues(DWORD& count) const noexcept
{
    count = 0;
    return ::RegQueryInfoKeyW(key_.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr,
                              nullptr, nullptr, nullptr);
}

LONG WriteStringValue(HKEY parent, const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    RegistryKey key;
    LONG result = key.Create(parent, path);
    return result == ERROR_SUCCESS ? key.SetString(name, value) : result;
}

LONG DeleteValueIfPresent(HKEY parent, const std::wstring& path, const wchar_t* name)
{
    RegistryKey key;
    LONG result = key.Open(parent, path, KEY_SET_VALUE);
    if (result == ERROR_SUCCESS)
        result = key.DeleteValue(name);
    return result == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : result;
}

LONG DeleteKeyTree(HKEY parent, const std::wstring& path)
{
    return DeleteTree(parent, path, 0);
}

LONG DeleteKeyTreeIfNoValues(HKEY parent, const std::wstring& path)
{
    RegistryKey key;
    LONG result = key.Open(parent, path, KEY_QUERY_VALUE);
    if (result == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS)
        return result;
    DWORD values = 0;
    result = key.CountValues(values);
    if (result != ERROR_SUCCESS)
        return result;
    if (values > 0)
        return ERROR_SUCCESS;
    key.Close();
    return DeleteKeyTree(parent, path);
}

}
