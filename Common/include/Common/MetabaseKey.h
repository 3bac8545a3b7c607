#pragma once
// The IIS metabase's one key owner: one open key, with its own reference to the metabase object,
// and the calls made on it. Every failure of the store is answered as the store's HRESULT; what a
// failure means is for the caller to say. Buffers are sized to the length asked for, so no answer
// can overrun them; an allocation failure throws std::bad_alloc.
#include "Common/AppHostAdmin.h"

#include <Framework/Handles.h>

#include <string>
#include <vector>

namespace IisMetabase {

// Creates the metabase object wherever COM finds it; E_NOINTERFACE when it answers no pointer.
HRESULT Create(Framework::ComPtr<IMSAdminBaseW>& admin);

// What one GetData call asks for: the record's identifier, attributes, user type and data type.
struct Query {
    DWORD identifier;
    DWORD attributes;
    DWORD userType;
    DWORD dataType;
};

// What it answered: the result, the length the store asked for when the buffer was too small,
// the value's type and length as the store left them in the record, and the buffer itself.
struct Answer {
    HRESULT result = E_FAIL;
    DWORD required = 0;
    DWORD dataType = 0;
    DWORD dataLength = 0;
    std::vector<BYTE> data;
};

class Key {
public:
    Key() = default;
    // Closes the key, then releases the reference to the metabase.
    ~Key();
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    // Opens path (an absolute metabase path) from the master root for reading, waiting at most
    // timeoutMs; the key keeps its own reference to admin. An open key is closed first.
    HRESULT Open(IMSAdminBaseW* admin, const std::wstring& path, DWORD timeoutMs);
    bool IsOpen() const noexcept { return handle_ != 0; }

    // The name of the sub-key of relativePath at index; a failure is also the end of the keys.
    HRESULT SubKeyName(const std::wstring& relativePath, DWORD index, std::wstring& name) const;

    // GetData on relativePath with a zeroed buffer of bufferBytes (none for 0).
    Answer GetData(const std::wstring& relativePath, const Query& query, DWORD bufferBytes) const;

private:
    void Close() noexcept;

    METADATA_HANDLE handle_ = 0;
    Framework::ComPtr<IMSAdminBaseW> admin_;
};

}
