#include "StoreWalks.h"

#include <RewriteConfig/TextFunctions.h>

#include <cstdint>
#include <limits>
#include <locale>

namespace Orvane::Metabase {

namespace {

constexpr wchar_t kW3svcPrefix[] = L"/LM/W3SVC/";
constexpr std::size_t kW3svcPrefixLength = sizeof(kW3svcPrefix) / sizeof(kW3svcPrefix[0]) - 1;

}

std::wstring SiteRootKey(std::int32_t siteId)
{
    return kW3svcPrefix + Quillon::IntToWideString(siteId) + L"/ROOT/";
}

bool IsW3svcMetaPath(const std::wstring& path)
{
    if (path.size() < kW3svcPrefixLength)
        return false;
    const std::locale locale;
    for (std::size_t i = 0; i < kW3svcPrefixLength; ++i)
        if (std::toupper(path[i], locale) != kW3svcPrefix[i])
            return false;
    return true;
}

std::int32_t SiteNumberFromMetaPath(const std::wstring& metaPath)
{
    std::size_t at = kW3svcPrefixLength;
    bool negative = false;
    if (at < metaPath.size() && (metaPath[at] == L'-' || metaPath[at] == L'+')) {
        negative = metaPath[at] == L'-';
        ++at;
    }
    const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                        : std::numeric_limits<std::int32_t>::max();
    std::int64_t value = 0;
    for (; at < metaPath.size() && metaPath[at] >= L'0' && metaPath[at] <= L'9'; ++at) {
        value = value * 10 + (metaPath[at] - L'0');
        if (value > limit)
            value = limit;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::wstring EffectiveApplicationPath(const std::wstring& applicationPath)
{
    return applicationPath == L"/" ? std::wstring() : applicationPath;
}

bool ApplicationContains(const std::wstring& path, const std::wstring& applicationPath)
{
    if (path.size() < applicationPath.size())
        return false;
    const std::locale locale;
    for (std::size_t i = 0; i < applicationPath.size(); ++i)
        if (std::toupper(path[i], locale) != std::toupper(applicationPath[i], locale))
            return false;
    return true;
}

bool WalkMetabasePath(const std::wstring& urlPath,
                      const std::function<VirtualRootLookup(const std::wstring& relativePath)>& lookup,
                      std::wstring& physicalPath)
{
    physicalPath.clear();
    std::size_t position = 0;
    for (;;) {
        const std::size_t slash = urlPath.find(L'/', position);
        const bool last = slash == std::wstring::npos;
        const std::size_t end = last ? urlPath.size() : slash;
        const VirtualRootLookup found = lookup(urlPath.substr(0, end));
        if (found.answer == VirtualRootLookup::Value) {
            physicalPath = found.value;
        } else if (found.answer == VirtualRootLookup::NoValue && !physicalPath.empty()) {
            if (physicalPath.back() != L'\\')
                physicalPath += L'\\';
            physicalPath.append(urlPath, position, end - position);
        }
        if (last)
            break;
        position = slash + 1;
    }
    return !physicalPath.empty();
}

bool WalkAppHostPath(const std::wstring& urlPath,
                     const std::function<bool(const std::wstring& lookupPath, std::wstring& value)>& match,
                     std::wstring& physicalPath)
{
    physicalPath.clear();
    std::size_t start = 0;
    for (bool last = false; !last;) {
        const std::size_t slash = urlPath.find(L'/', start);
        std::wstring lookupPath;
        if (slash == std::wstring::npos || slash + 1 == urlPath.size()) {
            lookupPath = urlPath;
            last = true;
        } else {
            lookupPath = urlPath.substr(0, slash);
            start = slash + 1;
        }
        if (!lookupPath.empty() && lookupPath.back() == L'/')
            lookupPath.pop_back();
        if (lookupPath.empty())
            lookupPath = L"/";
        std::wstring value;
        if (match(lookupPath, value) && !value.empty()) {
            physicalPath = value;
        } else if (!physicalPath.empty()) {
            Quillon::TrimDirectoryPath(physicalPath);
            const std::size_t lastSlash = lookupPath.rfind(L'/');
            physicalPath += lastSlash == std::wstring::npos ? lookupPath : lookupPath.substr(lastSlash + 1);
        }
    }
    return !physicalPath.empty();
}

}
