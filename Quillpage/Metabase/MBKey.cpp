#include "MBKey.h"

#include "MetabaseErrors.h"

#include <RewriteConfig/TextFunctions.h>

namespace Orvane::Metabase {

namespace {

// The one answer of a size probe that says the key holds a value of its own.
constexpr HRESULT kInsufficientBuffer = HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);

// The virtual-root path, the key's own value only, asked for with any type to learn its size and
// then read as a string.
constexpr IisMetabase::Query kProbe{MD_VR_PATH, METADATA_NO_ATTRIBUTES, IIS_MD_UT_FILE, ALL_METADATA};
constexpr IisMetabase::Query kRead{MD_VR_PATH, METADATA_NO_ATTRIBUTES, IIS_MD_UT_FILE, STRING_METADATA};

}

MBKey::MBKey(IMSAdminBaseW* admin, const std::wstring& key)
{
    if (FAILED(key_.Open(admin, key, kOpenTimeoutMs)))
        throw MBOpenKeyError();
}

VirtualRootLookup MBKey::ReadVirtualRoot(const std::wstring& relativePath) const
{
    VirtualRootLookup result;
    const IisMetabase::Answer probe = key_.GetData(relativePath, kProbe, 0);
    if (probe.result != kInsufficientBuffer || probe.required == 0)
        return result;
    const IisMetabase::Answer read = key_.GetData(relativePath, kRead, probe.required);
    if (FAILED(read.result)) {
        result.answer = VirtualRootLookup::ReadFailed;
        return result;
    }
    // The buffer's length bounds the text, whatever the store wrote into the record.
    result.answer = VirtualRootLookup::Value;
    result.value = Quillon::TextFromUtf16Data(read.data.data(), read.data.size());
    return result;
}

}
