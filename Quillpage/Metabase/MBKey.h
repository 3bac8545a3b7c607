#pragma once
// One open metabase key for the length of one operation, over the metabase's key owner: a key
// that cannot be opened is an MBOpenKeyError here.
#include <Common/MetabaseKey.h>

#include <core/StoreWalks.h>

#include <string>

namespace Orvane::Metabase {

class MBKey {
public:
    // Opens key (an absolute metabase path) for reading, waiting at most kOpenTimeoutMs; throws
    // MBOpenKeyError when it cannot be opened.
    MBKey(IMSAdminBaseW* admin, const std::wstring& key);
    MBKey(const MBKey&) = delete;
    MBKey& operator=(const MBKey&) = delete;

    // The key's own virtual-root path at relativePath (no inherited value): NoValue when it has
    // none, ReadFailed when the value could not be read after its size was found. Throws
    // std::bad_alloc when the value's buffer cannot be had.
    VirtualRootLookup ReadVirtualRoot(const std::wstring& relativePath) const;

    static constexpr DWORD kOpenTimeoutMs = 30000;

private:
    IisMetabase::Key key_;
};

}
