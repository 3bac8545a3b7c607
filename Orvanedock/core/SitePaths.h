#pragma once
// Metabase paths ("/LM/W3SVC/" + site number + "/ROOT" + path inside the site) and the path tests
// that choose an application or a virtual directory. A path "begins with" another only at a "/"
// boundary: /app is not a beginning of /application.
#include <optional>
#include <string>

namespace Orvane::Util {

inline constexpr wchar_t kServiceRoot[] = L"/LM/W3SVC/";

// "/LM/W3SVC/" + id + "/ROOT".
std::wstring SiteMetabasePath(const std::wstring& siteKey);
// parent + "/" + name.
std::wstring ChildMetabasePath(const std::wstring& parent, const std::wstring& name);

// The site number after "/LM/W3SVC/"; 0 when there is none, it is not a number or it overflows.
long SiteIdFromMetaPath(const std::wstring& path);
// The path inside the site ("" for the site itself, "/shop/img" for a folder); none when the path
// names no site.
std::optional<std::wstring> PathInSite(const std::wstring& path);

// True when path is prefix, or continues it after a "/"; every path begins with "/".
bool PathBeginsWith(const std::wstring& path, const std::wstring& prefix);
// A "/" after the first character.
bool HasInnerSlash(const std::wstring& path);
// The metabase key name is a site: a non-zero decimal number.
bool IsSiteKey(const std::wstring& key);

// The path inside the site made relative to the application at applicationPath ("/" for its root).
std::wstring PathRelativeToApplication(const std::wstring& rest, const std::wstring& applicationPath);
// The path relative to the virtual directory at directoryPath.
std::wstring PathRelativeToVirtualDirectory(const std::wstring& relative, const std::wstring& directoryPath);
// The path of a virtual directory v below relative, as seen from relative ("/b" for v = /a/b under /a);
// empty when v is not below it.
std::wstring NestedPathBelow(const std::wstring& v, const std::wstring& relative);

}
