#include "MetabaseStrategy.h"

#include "SiteNodeType.h"
#include "SitePaths.h"
#include "SiteTreeNode.h"
#include <RewriteConfig/TextFunctions.h>

#include <Common/AppHostAdmin.h>
#include <Framework/Handles.h>

#include <functional>
#include <optional>
#include <vector>

namespace Orvane::Util {

namespace {

using namespace Orvanedock;

constexpr DWORD kOpenTimeoutMs = 20;
constexpr DWORD kDataBufferBytes = 65535;
constexpr wchar_t kVirtualDirectoryKeyType[] = L"IIsWebVirtualDir";

// One metabase object and one open key, both released at the end of an operation.
class MetabaseKey {
public:
    bool Open(const std::wstring& path)
    {
        if (FAILED(::CoCreateInstance(CLSID_MSAdminBase_W, nullptr, Framework::kAnyServerContext, IID_IMSAdminBase_W,
                                      admin_.ReceiveVoid())) ||
            !admin_)
            return false;
        if (FAILED(admin_->OpenKey(METADATA_MASTER_ROOT_HANDLE, path.c_str(), METADATA_PERMISSION_READ,
                                   kOpenTimeoutMs, &handle_)))
            return false;
        open_ = true;
        return true;
    }
    ~MetabaseKey()
    {
        if (open_)
            admin_->CloseKey(handle_);
    }
    MetabaseKey() = default;
    MetabaseKey(const MetabaseKey&) = delete;
    MetabaseKey& operator=(const MetabaseKey&) = delete;

    // Calls visit with the name of each sub-key of "/", until the enumeration ends or fails.
    void ForEachSubKey(const std::function<void(const std::wstring&)>& visit)
    {
        for (DWORD index = 0;; ++index) {
            wchar_t name[METADATA_MAX_NAME_LEN + 1] = {};
            if (FAILED(admin_->EnumKeys(handle_, L"/", name, index)))
                return;
            name[METADATA_MAX_NAME_LEN] = L'\0';
            visit(name);
        }
    }

    // A text value at the relative path, read with its type and stored length; none when it cannot
    // be read or is no text.
    std::optional<std::wstring> Text(const std::wstring& relative, DWORD identifier)
    {
        buffer_.assign(kDataBufferBytes, 0);
        METADATA_RECORD record{};
        record.dwMDIdentifier = identifier;
        record.dwMDAttributes = METADATA_INHERIT;
        record.dwMDUserType = IIS_MD_UT_SERVER;
        record.dwMDDataType = ALL_METADATA;
        record.dwMDDataLen = kDataBufferBytes;
        record.pbMDData = buffer_.data();
        DWORD required = 0;
        if (FAILED(admin_->GetData(handle_, relative.c_str(), &record, &required)))
            return std::nullopt;
        if (record.dwMDDataType != STRING_METADATA && record.dwMDDataType != EXPANDSZ_METADATA)
            return std::nullopt;
        const DWORD length = record.dwMDDataLen < kDataBufferBytes ? record.dwMDDataLen : kDataBufferBytes;
        return Quillon::TextFromUtf16Data(buffer_.data(), length);
    }

private:
    Framework::ComPtr<IMSAdminBaseW> admin_;
    METADATA_HANDLE handle_ = 0;
    bool open_ = false;
    std::vector<BYTE> buffer_;
};

}

IISSiteSearchStrategyAdminBase::IISSiteSearchStrategyAdminBase(IFolderSource& folders) : IISSiteSearchStrategy(folders)
{
    Framework::ComPtr<IMSAdminBaseW> probe;
    available = SUCCEEDED(::CoCreateInstance(CLSID_MSAdminBase_W, nullptr, Framework::kAnyServerContext, IID_IMSAdminBase_W,
                                             probe.ReceiveVoid())) &&
                probe;
}

int IISSiteSearchStrategyAdminBase::FindSites(SiteTreeNode* node)
{
    if (!node)
        return 0;
    MetabaseKey service;
    if (!service.Open(L"/LM/W3SVC"))
        return 0;
    int added = 0;
    service.ForEachSubKey([&](const std::wstring& key) {
        if (!IsSiteKey(key))
            return;
        std::wstring name = L"/" + key;
        if (std::optional<std::wstring> comment = service.Text(L"/" + key, MD_SERVER_COMMENT))
            name = *comment;
        if (node->AddChild(name, SiteMetabasePath(key), std::wstring(), kNodeWebSite))
            ++added;
    });
    return added;
}

int IISSiteSearchStrategyAdminBase::FindVirtualDirectories(SiteTreeNode* node)
{
    if (!node)
        return 0;
    MetabaseKey key;
    if (!key.Open(node->Item().metabasePath))
        return 0;
    int added = 0;
    key.ForEachSubKey([&](const std::wstring& name) {
        std::optional<std::wstring> type = key.Text(L"/" + name, MD_KEY_TYPE);
        if (type && *type == kVirtualDirectoryKeyType &&
            node->AddChild(name, ChildMetabasePath(node->Item().metabasePath, name), std::wstring(),
                           kNodeVirtualDirectory))
            ++added;
    });
    return added;
}

int IISSiteSearchStrategyAdminBase::FindDirectories(SiteTreeNode* node, const std::wstring*)
{
    if (!node)
        return 0;
    if (node->Item().nodeType == kNodePhysicalDirectory)
        return IISSiteSearchStrategy::FindDirectories(node, nullptr);
    MetabaseKey key;
    if (!key.Open(node->Item().metabasePath))
        return 0;
    std::optional<std::wstring> root = key.Text(L"", MD_VR_PATH);
    if (!root || root->empty())
        return 0;
    const std::wstring folder = folders_.ExpandEnvironment(*root);
    return IISSiteSearchStrategy::FindDirectories(node, &folder);
}

}
