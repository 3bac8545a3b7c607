#include "SnapinDiscovery.h"

#include "SiteNodeType.h"

#include <Common/IisNodeTypes.h>
#include <Framework/GuidText.h>
#include <Framework/Registry.h>

#include <objbase.h>

namespace Orvane::Manager {

namespace {

using Framework::GuidText;
using Framework::RegistryKey;

// The longest value name, with its terminator, and the data read of each value.
constexpr size_t kValueNameChars = 16384;
constexpr DWORD kProviderDataBytes = 512;
// A property-sheet registration whose data does not fit this many bytes does not count.
constexpr DWORD kPropertySheetDataBytes = 255;

// The node types in the order they are examined.
constexpr int kNodeTypes[] = {Orvanedock::kNodeRoot, Orvanedock::kNodeWebSite, Orvanedock::kNodeVirtualDirectory,
                              Orvanedock::kNodeApplication, Orvanedock::kNodePhysicalDirectory};

void EnumerateSnapins(HKEY root, const RegistryKey& snapins, SnapinList& list)
{
    // The walk is bounded by the count the key reports: an index that cannot be read is passed
    // over, and an enumeration that keeps failing cannot hold the walk forever.
    DWORD count = 0;
    if (::RegQueryInfoKeyW(snapins.Get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0; index < count; ++index) {
        std::wstring name;
        LONG result = snapins.EnumSubKey(index, name);
        CLSID clsid{};
        // A key that cannot be read, names no class or is no snap-in of the maker is passed over.
        if (result != ERROR_SUCCESS || !HasProviderValue(root, name) || FAILED(::CLSIDFromString(name.c_str(), &clsid)))
            continue;
        list.Append(SnapinRecord{clsid, ComputeNodeTypeMask(root, clsid)});
    }
}

}

CLSID SnapinList::ClsidAt(size_t index) const noexcept
{
    return index < records_.size() ? records_[index].clsid : GUID_NULL;
}

int SnapinList::MaskAt(size_t index) const noexcept
{
    return index < records_.size() ? records_[index].nodeTypeMask : 0;
}

GUID NodeTypeGuid(int nodeType) noexcept
{
    switch (nodeType) {
    case Orvanedock::kNodeRoot:
        return IisNodeType::kWebSites;
    case Orvanedock::kNodeWebSite:
        return IisNodeType::kWebSite;
    case Orvanedock::kNodeVirtualDirectory:
    case Orvanedock::kNodeApplication:
        return IisNodeType::kVirtualDirectory;
    case Orvanedock::kNodePhysicalDirectory:
        return IisNodeType::kDirectory;
    default:
        return GUID_NULL;
    }
}

unsigned DiscoverSnapins(SnapinList& list, HKEY root)
{
    if (list.Count() > 0)
        return static_cast<unsigned>(list.Count());
    RegistryKey snapins;
    if (snapins.Open(root, kSnapinsKey) == ERROR_SUCCESS)
        EnumerateSnapins(root, snapins, list);
    return static_cast<unsigned>(list.Count());
}

bool HasProviderValue(HKEY root, const std::wstring& snapinKeyName)
{
    RegistryKey key;
    if (key.Open(root, std::wstring(kSnapinsKey) + L"\\" + snapinKeyName) != ERROR_SUCCESS)
        return false;
    DWORD count = 0;
    if (key.CountValues(count) != ERROR_SUCCESS)
        return false;
    // The values are walked, so that the name too is compared exactly ("provider" is another value);
    // one whose name or data does not fit its buffer is passed over.
    std::vector<wchar_t> name(kValueNameChars);
    std::vector<wchar_t> data(kProviderDataBytes / sizeof(wchar_t));
    for (DWORD index = 0; index < count; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size() - 1);
        DWORD type = 0;
        DWORD bytes = kProviderDataBytes;
        if (::RegEnumValueW(key.Get(), index, name.data(), &nameLength, nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &bytes) != ERROR_SUCCESS)
            continue;
        if (std::wstring(name.data(), nameLength) != kProviderValue || (type != REG_SZ && type != REG_EXPAND_SZ))
            continue;
        // The text ends at its terminator or at the stored end, never past it. It is compared
        // exactly: "orvane" or "Orvane Ltd" is another maker.
        const size_t stored = bytes / sizeof(wchar_t);
        size_t length = 0;
        while (length < stored && data[length] != L'\0')
            ++length;
        if (std::wstring(data.data(), length) == kMakerProvider)
            return true;
    }
    return false;
}

int ComputeNodeTypeMask(HKEY root, const CLSID& clsid)
{
    const std::wstring classText = GuidText(clsid);
    int mask = 0;
    // Every node type is examined: a node type without extensions says nothing about the others.
    for (int type : kNodeTypes) {
        RegistryKey key;
        if (key.Open(root, std::wstring(kNodeTypesKey) + L"\\" + GuidText(NodeTypeGuid(type)) +
                               L"\\Extensions\\PropertySheet") != ERROR_SUCCESS)
            continue;
        BYTE data[kPropertySheetDataBytes];
        DWORD length = sizeof(data);
        if (::RegQueryValueExW(key.Get(), classText.c_str(), nullptr, nullptr, data, &length) == ERROR_SUCCESS)
            mask |= type;
    }
    return mask;
}

}
