#pragma once
// Test helpers for the IIS store stand-in (TestSupport/iisstore, IisStoreStandIn.dll): register it
// in the test prefix under the stores' own class ids, and name the site description it answers
// from. The stand-in looks for the description in the environment variable first (per process, so
// tests running side by side can use different descriptions), then in the registry value.
#include <windows.h>

#include <string>

namespace TestSupport {

// Environment variable holding the description file's path.
constexpr const wchar_t* IisSitesVariable = L"QUILLON_IIS_SITES";
// HKEY_CURRENT_USER key and value holding it when the variable is not set.
constexpr const wchar_t* IisSitesKey = L"Software\\Quillon\\IisStoreStandIn";
constexpr const wchar_t* IisSitesValue = L"Sites";

// The stand-in DLL beside the running test program (both build into the build's tests folder).
std::wstring IisStoreStandInPath();
// Runs the DLL's DllRegisterServer / DllUnregisterServer in this process.
HRESULT RegisterIisStoreStandIn(const std::wstring& dll = IisStoreStandInPath());
HRESULT UnregisterIisStoreStandIn(const std::wstring& dll = IisStoreStandInPath());
// Names the description for this process and the programs it starts; empty: none (both stores
// then answer as absent unless the registry value names one).
bool UseSiteDescription(const std::wstring& path);

}
