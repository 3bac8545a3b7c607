#include "MetabaseStore.h"

#include <cstring>

namespace IisStore {

MetabaseStore::MetabaseStore(std::shared_ptr<const SiteDescription> description) noexcept
    : description_(std::move(description))
{
}

const Framework::InterfaceEntry* MetabaseStore::InterfaceTable() noexcept
{
    static const Framework::InterfaceEntry table[] = {
        Framework::InterfaceOf<MetabaseStore, IMSAdminBaseW>(IID_IMSAdminBaseW),
        {nullptr, nullptr},
    };
    return table;
}

HRESULT MetabaseStore::Resolve(METADATA_HANDLE handle, LPCWSTR path, const MetabaseKey*& key)
{
    key = nullptr;
    const MetabaseKey* start = &description_->metabaseRoot;
    if (handle != METADATA_MASTER_ROOT_HANDLE) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto found = handles_.find(handle);
        if (found == handles_.end())
            return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
        start = found->second;
    }
    key = SiteDescription::Find(*start, path ? path : L"");
    return key ? S_OK : HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

HRESULT STDMETHODCALLTYPE MetabaseStore::OpenKey(METADATA_HANDLE handle, LPCWSTR path, DWORD, DWORD,
                                                 PMETADATA_HANDLE newHandle)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!newHandle)
            return E_INVALIDARG;
        *newHandle = 0;
        const MetabaseKey* key = nullptr;
        HRESULT result = Resolve(handle, path, key);
        if (FAILED(result))
            return result;
        // What a key held by another writer past the caller's time-out gives.
        if (description_->OpenKeyFails(*key))
            return HRESULT_FROM_WIN32(ERROR_PATH_BUSY);
        std::lock_guard<std::mutex> lock(mutex_);
        METADATA_HANDLE opened = nextHandle_++;
        handles_[opened] = key;
        *newHandle = opened;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE MetabaseStore::CloseKey(METADATA_HANDLE handle)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return handles_.erase(handle) == 1 ? S_OK : HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
}

HRESULT STDMETHODCALLTYPE MetabaseStore::GetData(METADATA_HANDLE handle, LPCWSTR path, PMETADATA_RECORD record,
                                                 DWORD* requiredLength)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!record || !requiredLength)
            return E_INVALIDARG;
        const MetabaseKey* key = nullptr;
        HRESULT result = Resolve(handle, path, key);
        if (FAILED(result))
            return result;

        const MetabaseValue* value = key->Value(record->dwMDIdentifier);
        bool inherited = false;
        if (!value && (record->dwMDAttributes & METADATA_INHERIT)) {
            for (const MetabaseKey* above = key->parent; above && !value; above = above->parent) {
                const MetabaseValue* candidate = above->Value(record->dwMDIdentifier);
                if (candidate && (candidate->attributes & METADATA_INHERIT)) {
                    value = candidate;
                    inherited = true;
                }
            }
        }
        if (!value || (record->dwMDDataType != ALL_METADATA && record->dwMDDataType != value->dataType))
            return MD_ERROR_DATA_NOT_FOUND;

        DWORD length = static_cast<DWORD>(value->data.size());
        if (record->dwMDDataLen < length) {
            *requiredLength = length;
            return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
        }
        if (length > 0 && !record->pbMDData)
            return E_INVALIDARG;
        if (length > 0)
            std::memcpy(record->pbMDData, value->data.data(), length);
        record->dwMDDataLen = length;
        record->dwMDDataType = value->dataType;
        record->dwMDUserType = value->userType;
        record->dwMDAttributes = value->attributes | (inherited ? METADATA_ISINHERITED : 0);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE MetabaseStore::EnumKeys(METADATA_HANDLE handle, LPCWSTR path, LPWSTR name, DWORD index)
{
    return Framework::GuardedCall([&]() -> HRESULT {
        if (!name)
            return E_INVALIDARG;
        const MetabaseKey* key = nullptr;
        HRESULT result = Resolve(handle, path, key);
        if (FAILED(result))
            return result;
        if (index >= key->children.size())
            return HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS);
        // Names are at most METADATA_MAX_NAME_LEN - 1 characters (the description refuses longer
        // ones), so they fit the caller's METADATA_MAX_NAME_LEN buffer with the terminator.
        const std::wstring& childName = key->children[index]->name;
        std::memcpy(name, childName.c_str(), (childName.size() + 1) * sizeof(wchar_t));
        return S_OK;
    });
}

}
