#pragma once
// Which per-directory configuration file of a folder the page shows and loads.
#include <functional>
#include <string>
#include <vector>

namespace Orvane::Quillon {

// Name used when the AccessFileName list is empty (a directive whose value held only blanks).
constexpr const wchar_t* kDefaultAccessFileName = L".htaccess";

// folder + the first name of names for which isFile answers true, in list order; when none does,
// folder + the first name (kDefaultAccessFileName for an empty list). folder is joined as it
// stands: it is expected to end with a separator.
std::wstring ChooseAccessFile(const std::wstring& folder, const std::vector<std::wstring>& names,
                              const std::function<bool(const std::wstring&)>& isFile);

}
