#pragma once
// The folders on disk through FindFirstFileW, and environment references through
// ExpandEnvironmentStringsW.
#include "SiteSearchStrategy.h"

namespace Orvane::Util {

class Win32Folders : public IFolderSource {
public:
    bool ListFolders(const std::wstring& folder, std::vector<std::wstring>& names) override;
    std::wstring ExpandEnvironment(const std::wstring& text) override;
};

}
