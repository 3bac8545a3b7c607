#include "InstallDir.h"

#include <Framework/Registry.h>
#include <RewriteConfig/TextFunctions.h>

#include <windows.h>

namespace Orvane::Quillon {

void ReadInstallDir()
{
    Framework::RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kInstallDirKey, KEY_READ) != ERROR_SUCCESS)
        return;
    BYTE buffer[kInstallDirBufferBytes] = {};
    DWORD type = 0;
    DWORD length = sizeof(buffer);
    if (::RegQueryValueExW(key.Get(), kInstallDirValue, nullptr, &type, buffer, &length) != ERROR_SUCCESS)
        return;
    if (length > sizeof(buffer))
        return;
    SetLogBaseDirectory(TextFromUtf16Data(buffer, length));
}

std::wstring InstallDirectory()
{
    return LogBaseDirectory();
}

}
