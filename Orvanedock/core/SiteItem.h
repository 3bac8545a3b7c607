#pragma once
// One entry of the site tree: the text shown, the metabase path that names the node for the
// stores and the extensions, the folder on disk (physical folders only), and the node type.
#include <memory>
#include <string>

namespace Orvane::Orvanedock {

struct SiteItem {
    // The record's field sizes, terminator not counted.
    static constexpr size_t kNameMax = 255;
    static constexpr size_t kMetabasePathMax = 255;
    static constexpr size_t kPhysicalPathMax = 259;

    std::wstring name;
    std::wstring metabasePath;
    std::wstring physicalPath;
    int nodeType = 0;

    // A record, or null when the metabase path or the physical path does not fit its field: a cut
    // path would name another node or another folder. A long name is cut to its field.
    static std::unique_ptr<SiteItem> Make(const std::wstring& name, const std::wstring& metabasePath,
                                          const std::wstring& physicalPath, int nodeType);
};

// The text cut to at most max UTF-16 units, never between the two halves of a surrogate pair.
std::wstring CutAtCharacterBoundary(const std::wstring& text, size_t max);

}
