#include "TestSupport/RegistryLock.h"

#include <Framework/Registry.h>

#include <aclapi.h>

namespace TestSupport {

LONG LockRegistryKey(HKEY root, const std::wstring& path, bool locked)
{
    Framework::RegistryKey key;
    LONG result = key.Open(root, path, WRITE_DAC);
    if (result != ERROR_SUCCESS)
        return result;
    ACL acl;
    if (!::InitializeAcl(&acl, sizeof(acl), ACL_REVISION))
        return static_cast<LONG>(::GetLastError());
    return static_cast<LONG>(::SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                               locked ? &acl : nullptr, nullptr));
}

}
