#pragma once
// The maker's property-sheet extensions, found once in MMC's "SnapIns" and "NodeTypes" keys: each
// with its class identifier and the mask of site node types whose property sheet it extends.
#include <windows.h>

#include <string>
#include <vector>

namespace Orvane::Manager {

inline constexpr wchar_t kSnapinsKey[] = L"SOFTWARE\\Microsoft\\MMC\\SnapIns";
inline constexpr wchar_t kNodeTypesKey[] = L"SOFTWARE\\Microsoft\\MMC\\NodeTypes";
inline constexpr wchar_t kProviderValue[] = L"Provider";
inline constexpr wchar_t kMakerProvider[] = L"Orvane";

struct SnapinRecord {
    CLSID clsid;
    int nodeTypeMask;
};

class SnapinList {
public:
    size_t Count() const noexcept { return records_.size(); }
    // GUID_NULL / 0 when index is out of range.
    CLSID ClsidAt(size_t index) const noexcept;
    int MaskAt(size_t index) const noexcept;
    void Append(const SnapinRecord& record) { records_.push_back(record); }
    void Clear() noexcept { records_.clear(); }

private:
    std::vector<SnapinRecord> records_;
};

// The MMC node type of the IIS manager for a site node type; GUID_NULL for any other.
GUID NodeTypeGuid(int nodeType) noexcept;

// Fills the list on the first call (the keys below root, HKEY_LOCAL_MACHINE in the program) and
// returns its count; a later call only returns the count.
unsigned DiscoverSnapins(SnapinList& list, HKEY root = HKEY_LOCAL_MACHINE);

// The snap-in key's "Provider" value is "Orvane", compared exactly.
bool HasProviderValue(HKEY root, const std::wstring& snapinKeyName);
// The node types for which the snap-in's class is registered as a property-sheet extension.
int ComputeNodeTypeMask(HKEY root, const CLSID& clsid);

}
