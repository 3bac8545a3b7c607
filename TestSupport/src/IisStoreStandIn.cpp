#include "TestSupport/IisStoreStandIn.h"

#include "Framework/Handles.h"
#include "Framework/Paths.h"

namespace TestSupport {

namespace {

HRESULT CallEntry(const std::wstring& dll, const char* entry)
{
    Framework::ScopedLibrary module(::LoadLibraryW(dll.c_str()));
    if (!module)
        return HRESULT_FROM_WIN32(::GetLastError());
    using Entry = HRESULT(STDAPICALLTYPE*)();
    auto function = reinterpret_cast<Entry>(reinterpret_cast<void*>(::GetProcAddress(module.Get(), entry)));
    return function ? function() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

}

std::wstring IisStoreStandInPath()
{
    return Framework::ModuleFolder() + L"IisStoreStandIn.dll";
}

HRESULT RegisterIisStoreStandIn(const std::wstring& dll)
{
    return CallEntry(dll, "DllRegisterServer");
}

HRESULT UnregisterIisStoreStandIn(const std::wstring& dll)
{
    return CallEntry(dll, "DllUnregisterServer");
}

bool UseSiteDescription(const std::wstring& path)
{
    return ::SetEnvironmentVariableW(IisSitesVariable, path.empty() ? nullptr : path.c_str()) != FALSE;
}

}
