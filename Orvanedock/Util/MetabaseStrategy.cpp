#include "MetabaseStrategy.h"

#include "SiteNodeType.h"
#include "SitePaths.h"
#include "SiteTreeNode.h"
#include <RewriteConfig/TextFunctions.h>

#include <Common/MetabaseKey.h>

#include <functional>
#include <optional>

namespace Orvane::Util {

namespace {

using namespace Orvanedock;

constexpr DWORD kOpenTimeoutMs = 20;
constexpr wchar_t kVirtualDirectoryKeyType[] = L"IIsWebVirtualDir";

// The values this strategy reads: inherited ones count, and a value is read with one call into a
// buffer of this size (a longer value cannot be read and counts as none).
constexpr DWORD kDataBufferBytes = 65535;

// A new metabase object and the key at path on it, for one operation; false when either cannot be
// had.
bool OpenKey(const std::wstring& path, IisMetabase::Key& key)
{
    Framework::ComPtr<IMSAdminBaseW> admin;
    return SUCCEEDED(IisMetabase::Create(admin)) && SUCCEEDED(key.Open(admin.Get(), path, kOpenTimeoutMs));
}

// Calls visit with the name of each sub-key of "/", until the enumeration ends or fails.
void ForEachSubKey(const IisMetabase::Key& key, const std::function<void(const std::wstring&)>& visit)
{
    std::wstring name;
    for (DWORD index = 0; SUCCEEDED(key.SubKeyName(L"/", index, name)); ++index)
        visit(name);
}

// A text value at the relative path, read with its type and stored length; none when it cannot be
// read or is no text.
std::optional<std::wstring> Text(const IisMetabase::Key& key, const std::wstring& relative, DWORD identifier)
{
    const IisMetabase::Answer answer =
        key.GetData(relative, {identifier, METADATA_INHERIT, IIS_MD_UT_SERVER, ALL_METADATA}, kDataBufferBytes);
    if (FAILED(answer.result))
        return std::nullopt;
    if (answer.dataType != STRING_METADATA && answer.dataType != EXPANDSZ_METADATA)
        return std::nullopt;
    const DWORD length = answer.dataLength < kDataBufferBytes ? answer.dataLength : kDataBufferBytes;
    return Quillon::TextFromUtf16Data(answer.data.data(), length);
}

}

IISSiteSearchStrategyAdminBase::IISSiteSearchStrategyAdminBase(IFolderSource& folders) : IISSiteSearchStrategy(folders)
{
    Framework::ComPtr<IMSAdminBaseW> probe;
    available = SUCCEEDED(IisMetabase::Create(probe));
}

int IISSiteSearchStrategyAdminBase::FindSites(SiteTreeNode* node)
{
    if (!node)
        return 0;
    IisMetabase::Key service;
    if (!OpenKey(L"/LM/W3SVC", service))
        return 0;
    int added = 0;
    ForEachSubKey(service, [&](const std::wstring& key) {
        if (!IsSiteKey(key))
            return;
        std::wstring name = L"/" + key;
        if (std::optional<std::wstring> comment = Text(service, L"/" + key, MD_SERVER_COMMENT))
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
    IisMetabase::Key key;
    if (!OpenKey(node->Item().metabasePath, key))
        return 0;
    int added = 0;
    ForEachSubKey(key, [&](const std::wstring& name) {
        std::optional<std::wstring> type = Text(key, L"/" + name, MD_KEY_TYPE);
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
    IisMetabase::Key key;
    if (!OpenKey(node->Item().metabasePath, key))
        return 0;
    std::optional<std::wstring> root = Text(key, L"", MD_VR_PATH);
    if (!root || root->empty())
        return 0;
    const std::wstring folder = folders_.ExpandEnvironment(*root);
    return IISSiteSearchStrategy::FindDirectories(node, &folder);
}

}
