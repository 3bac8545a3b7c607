#include "AccessFileChoice.h"

namespace Orvane::Quillon {

std::wstring ChooseAccessFile(const std::wstring& folder, const std::vector<std::wstring>& names,
                              const std::function<bool(const std::wstring&)>& isFile)
{
    for (const std::wstring& name : names) {
        std::wstring candidate = folder + name;
        if (isFile(candidate))
            return candidate;
    }
    return folder + (names.empty() ? std::wstring(kDefaultAccessFileName) : names.front());
}

}
