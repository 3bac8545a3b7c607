#include "DataObjectText.h"

namespace Orvane::Orvanedock {

std::wstring DataObjectText(const std::wstring* metabasePath)
{
    const std::wstring path = metabasePath ? *metabasePath : std::wstring(L"/LM/W3SVC");
    if (path.size() + 1 <= kDataObjectChars - 1)
        return path + L"/";
    if (path.size() <= kDataObjectChars - 1)
        return path;
    return std::wstring();
}

}
