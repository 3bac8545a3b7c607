#include "Common/MetabaseKey.h"

namespace IisMetabase {

HRESULT Create(Framework::ComPtr<IMSAdminBaseW>& admin)
{
    const HRESULT result = ::CoCreateInstance(CLSID_MSAdminBase_W, nullptr, Framework::kAnyServerContext,
                                              IID_IMSAdminBase_W, admin.ReceiveVoid());
    if (FAILED(result))
        return result;
    return admin ? S_OK : E_NOINTERFACE;
}

Key::~Key() { Close(); }

void Key::Close() noexcept
{
    if (handle_ != 0)
        admin_->CloseKey(handle_);
    handle_ = 0;
    admin_.Reset();
}

HRESULT Key::Open(IMSAdminBaseW* admin, const std::wstring& path, DWORD timeoutMs)
{
    Close();
    if (!admin)
        return E_POINTER;
    admin_ = Framework::ComPtr<IMSAdminBaseW>(admin);
    METADATA_HANDLE handle = 0;
    const HRESULT result =
        admin_->OpenKey(METADATA_MASTER_ROOT_HANDLE, path.c_str(), METADATA_PERMISSION_READ, timeoutMs, &handle);
    if (FAILED(result))
        return result;
    handle_ = handle;
    return result;
}

HRESULT Key::SubKeyName(const std::wstring& relativePath, DWORD index, std::wstring& name) const
{
    if (!IsOpen())
        return E_HANDLE;
    // The store writes at most METADATA_MAX_NAME_LEN characters; one more keeps a terminator.
    wchar_t buffer[METADATA_MAX_NAME_LEN + 1] = {};
    const HRESULT result = admin_->EnumKeys(handle_, relativePath.c_str(), buffer, index);
    if (FAILED(result))
        return result;
    buffer[METADATA_MAX_NAME_LEN] = L'\0';
    name = buffer;
    return result;
}

Answer Key::GetData(const std::wstring& relativePath, const Query& query, DWORD bufferBytes) const
{
    Answer answer;
    if (!IsOpen()) {
        answer.result = E_HANDLE;
        return answer;
    }
    answer.data.assign(bufferBytes, 0);
    METADATA_RECORD record{};
    record.dwMDIdentifier = query.identifier;
    record.dwMDAttributes = query.attributes;
    record.dwMDUserType = query.userType;
    record.dwMDDataType = query.dataType;
    record.dwMDDataLen = bufferBytes;
    record.pbMDData = bufferBytes ? answer.data.data() : nullptr;
    answer.result = admin_->GetData(handle_, relativePath.c_str(), &record, &answer.required);
    answer.dataType = record.dwMDDataType;
    answer.dataLength = record.dwMDDataLen;
    return answer;
}

}
