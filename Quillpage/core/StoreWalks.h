#pragma once
// The rules by which a URL path inside a web site becomes a physical folder, for both IIS
// configuration stores; the store calls themselves are made by the caller's lookups.
#include <cstdint>
#include <functional>
#include <string>

namespace Orvane::Metabase {

// "/LM/W3SVC/" + site id + "/ROOT/": the metabase key of a site's root.
std::wstring SiteRootKey(std::int32_t siteId);

// True when path begins with "/LM/W3SVC/" in any mix of case (upper-cased through the global
// locale).
bool IsW3svcMetaPath(const std::wstring& path);

// The decimal number right after "/LM/W3SVC/" (an optional sign, then digits up to the first
// other character; 0 when there are none), saturated to the 32-bit range. The path must pass
// IsW3svcMetaPath.
std::int32_t SiteNumberFromMetaPath(const std::wstring& metaPath);

// An IIS 7 application path as matched: "/" becomes the empty text, any other path stays.
std::wstring EffectiveApplicationPath(const std::wstring& applicationPath);
// True when path begins with applicationPath, ignoring case under the global locale (a plain
// prefix: "/app" is a prefix of "/application").
bool ApplicationContains(const std::wstring& path, const std::wstring& applicationPath);

// What the metabase holds for one relative path below a site's root key.
struct VirtualRootLookup {
    enum Answer { NoValue, Value, ReadFailed };
    Answer answer = NoValue;
    std::wstring value;
};

// The metabase walk: one lookup per "/"-separated prefix of urlPath, the first for the empty
// prefix. A value replaces the folder built so far; a prefix without a value appends its segment
// (with one "\" in between); a failed read leaves the folder as it is. A segment is never appended
// to an empty folder: with nothing found yet there is nothing to build on. True when the result is
// not empty.
bool WalkMetabasePath(const std::wstring& urlPath,
                      const std::function<VirtualRootLookup(const std::wstring& relativePath)>& lookup,
                      std::wstring& physicalPath);

// The IIS 7 walk: one match per prefix of urlPath that ends before a "/" ("/" for the first, the
// whole path, without a final "/", for the last). A non-empty match replaces the folder built so
// far; otherwise the folder is ended with TrimDirectoryPath and the lookup's last segment is
// appended, unless the folder is still empty. Exceptions from match pass to the caller. True when
// the result is not empty.
bool WalkAppHostPath(const std::wstring& urlPath,
                     const std::function<bool(const std::wstring& lookupPath, std::wstring& value)>& match,
                     std::wstring& physicalPath);

}
