#include "SitePaths.h"

#include <climits>

namespace Orvane::Util {

namespace {

constexpr size_t kServiceRootLength = sizeof(kServiceRoot) / sizeof(kServiceRoot[0]) - 1;
constexpr wchar_t kRootSegment[] = L"/ROOT";
constexpr size_t kRootSegmentLength = 5;

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The decimal digits at the start of text from position, and their value; false when there are
// none or the value overflows.
bool ParseDecimal(const std::wstring& text, size_t position, long& value, size_t& digits)
{
    value = 0;
    digits = 0;
    while (position + digits < text.size() && IsDigit(text[position + digits])) {
        long digit = text[position + digits] - L'0';
        if (value > (LONG_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
        ++digits;
    }
    return digits > 0;
}

}

std::wstring SiteMetabasePath(const std::wstring& siteKey)
{
    return kServiceRoot + siteKey + kRootSegment;
}

std::wstring ChildMetabasePath(const std::wstring& parent, const std::wstring& name)
{
    return parent + L"/" + name;
}

long SiteIdFromMetaPath(const std::wstring& path)
{
    if (path.compare(0, kServiceRootLength, kServiceRoot) != 0)
        return 0;
    long value = 0;
    size_t digits = 0;
    return ParseDecimal(path, kServiceRootLength, value, digits) ? value : 0;
}

std::optional<std::wstring> PathInSite(const std::wstring& path)
{
    if (path.compare(0, kServiceRootLength, kServiceRoot) != 0)
        return std::nullopt;
    long value = 0;
    size_t digits = 0;
    if (!ParseDecimal(path, kServiceRootLength, value, digits) || value == 0)
        return std::nullopt;
    const size_t root = kServiceRootLength + digits;
    if (path.compare(root, kRootSegmentLength, kRootSegment) != 0)
        return std::nullopt;
    const size_t rest = root + kRootSegmentLength;
    if (rest < path.size() && path[rest] != L'/')
        return std::nullopt; // "/ROOTX" is no site root
    return path.substr(rest);
}

bool PathBeginsWith(const std::wstring& path, const std::wstring& prefix)
{
    if (prefix.empty() || prefix == L"/")
        return true;
    if (path.compare(0, prefix.size(), prefix) != 0)
        return false;
    return path.size() == prefix.size() || prefix.back() == L'/' || path[prefix.size()] == L'/';
}

bool HasInnerSlash(const std::wstring& path)
{
    return path.size() > 1 && path.find(L'/', 1) != std::wstring::npos;
}

bool IsSiteKey(const std::wstring& key)
{
    long value = 0;
    size_t digits = 0;
    return ParseDecimal(key, 0, value, digits) && digits == key.size() && value != 0;
}

std::wstring PathRelativeToApplication(const std::wstring& rest, const std::wstring& applicationPath)
{
    if (rest.empty() || rest == applicationPath)
        return L"/";
    if (applicationPath == L"/")
        return rest;
    return rest.substr(applicationPath.size());
}

std::wstring PathRelativeToVirtualDirectory(const std::wstring& relative, const std::wstring& directoryPath)
{
    if (directoryPath == L"/" || directoryPath.empty())
        return relative == L"/" ? std::wstring() : relative;
    return relative.substr(directoryPath.size());
}

std::wstring NestedPathBelow(const std::wstring& v, const std::wstring& relative)
{
    if (v == L"/" || v == relative || !PathBeginsWith(v, relative))
        return std::wstring();
    if (relative == L"/" || relative.empty())
        return v;
    return v.substr(relative.size());
}

}
