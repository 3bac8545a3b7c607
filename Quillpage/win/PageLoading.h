#pragma once
// What the site page and the proxy settings dialog take from the page-side loading and the IIS
// configuration store, in the page's terms.
#include <windows.h>

#include <RewriteConfig/Htaccess.h>
#include <RewriteConfig/QuillonConfig.h>

#include <cstdint>
#include <string>

namespace Orvane { namespace Quillon {

// Reads the install directory (relative log paths) from the registry.
void ReadInstallDir();
// Loads a configuration from the file named in its constructor; missing or unreadable: defaults.
bool LoadConfiguration(Htaccess& configuration);
// The site's physical folder for the path inside the site, ended with "\" (or "/"); empty when
// there is no configuration store or the lookup fails.
std::wstring LookUpSiteFolder(std::int32_t siteId, const std::wstring& pathInSite);
// The per-directory file a site folder shows: the first AccessFileName name that exists there as a
// file, else the folder plus the first name.
std::wstring ChooseAccessFile(const QuillonConfig& server, const std::wstring& folder);
// The whole file as text from the ANSI code page; empty when it cannot be read.
std::wstring ReadWholeFileText(const std::wstring& path);
// The import command's open-file dialog for an old-syntax file; false on Cancel.
bool ChooseOldSyntaxFile(HWND owner, std::wstring& chosen);

}}
