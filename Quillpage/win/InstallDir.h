#pragma once
// The product's install directory, read from the registry; put in front of relative log paths.
#include <string>

namespace Orvane::Quillon {

// HKEY_LOCAL_MACHINE key and value that hold it.
constexpr const wchar_t* kInstallDirKey = L"SOFTWARE\\Orvane\\Quillon3";
constexpr const wchar_t* kInstallDirValue = L"InstallDir";
// The value is read into a buffer of this many bytes (260 characters with the terminator); a longer
// value is not read.
constexpr unsigned kInstallDirBufferBytes = 520;

// Reads the value (any registry type, not expanded) into the install directory: its text up to the
// first NUL, or up to its stored end when it has none; an empty value makes it empty. A missing,
// unreadable or too long value leaves it as it was.
void ReadInstallDir();

// The install directory (module-wide; empty until read). The same text as the configuration
// model's LogBaseDirectory, and guarded by it.
std::wstring InstallDirectory();

}
