#include "SiteItem.h"

#include "SiteNodeType.h"

namespace Orvane::Orvanedock {

int ImageIndexOf(int nodeType) noexcept
{
    switch (nodeType) {
    case kNodeRoot:
        return 0;
    case kNodeWebSite:
        return 1;
    case kNodeVirtualDirectory:
        return 3;
    case kNodeApplication:
        return 4;
    default:
        return 2;
    }
}

std::wstring CutAtCharacterBoundary(const std::wstring& text, size_t max)
{
    if (text.size() <= max)
        return text;
    size_t length = max;
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length;
    return text.substr(0, length);
}

std::unique_ptr<SiteItem> SiteItem::Make(const std::wstring& name, const std::wstring& metabasePath,
                                         const std::wstring& physicalPath, int nodeType)
{
    if (metabasePath.size() > kMetabasePathMax || physicalPath.size() > kPhysicalPathMax)
        return nullptr;
    auto item = std::make_unique<SiteItem>();
    item->name = CutAtCharacterBoundary(name, kNameMax);
    item->metabasePath = metabasePath;
    item->physicalPath = physicalPath;
    item->nodeType = nodeType;
    return item;
}

}
