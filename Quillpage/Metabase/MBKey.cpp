#include "MBKey.h"

#include "MetabaseErrors.h"

#include <RewriteConfig/TextFunctions.h>

#include <vector>

namespace Orvane::Metabase {

namespace {

// The one answer of a size probe that says the key holds a value of its own.
constexpr HRESULT kInsufficientBuffer = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);

METADATA_RECORD VirtualRootRecord(DWORD dataType, DWORD length, BYTE* data)
{
    METADATA_RECORD record{};
    record.dwMDIdentifier = MD_VR_PATH;
    record.dwMDAttributes = METADATA_NO_ATTRIBUTES;
    record.dwMDUserType = IIS_MD_UT_FILE;
    record.dwMDDataType = dataType;
    record.dwMDDataLen = length;
    record.pbMDData = data;
    return record;
}

}

MBKey::MBKey(IMSAdminBaseW* admin, const std::wstring& key) : admin_(admin)
{
    if (!admin_)
        throw MBOpenKeyError();
    METADATA_HANDLE handle = 0;
    if (FAILED(admin_->OpenKey(METADATA_MASTER_ROOT_HANDLE, key.c_str(), METADATA_PERMISSION_READ, kOpenTimeoutMs,
                               &handle)))
        throw MBOpenKeyError();
    handle_ = handle;
}

MBKey::~MBKey()
{
    if (handle_ != 0)
        admin_->CloseKey(handle_);
}

VirtualRootLookup MBKey::ReadVirtualRoot(const std::wstring& relativePath) const
{
    VirtualRootLookup result;
    METADATA_RECORD probe = VirtualRootRecord(ALL_METADATA, 0, nullptr);
    DWORD required = 0;
    if (admin_->GetData(handle_, relativePath.c_str(), &probe, &required) != kInsufficientBuffer || required == 0)
        return result;
    std::vector<BYTE> buffer(required, 0);
    METADATA_RECORD read = VirtualRootRecord(STRING_METADATA, required, buffer.data());
    DWORD again = 0;
    if (FAILED(admin_->GetData(handle_, relativePath.c_str(), &read, &again))) {
        result.answer = VirtualRootLookup::ReadFailed;
        return result;
    }
    // The buffer's length bounds the text, whatever the store wrote into the record.
    result.answer = VirtualRootLookup::Value;
    result.value = Quillon::TextFromUtf16Data(buffer.data(), buffer.size());
    return result;
}

}
