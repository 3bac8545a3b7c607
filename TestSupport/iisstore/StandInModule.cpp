// The stand-in server's entry points: both store classes, created only while a site description
// is configured and does not mark the store absent; registration under the stores' own class ids.
#include "AppHostStore.h"
#include "MetabaseStore.h"
#include "SiteDescription.h"

#include "Framework/ClassFactory.h"
#include "Framework/FileRead.h"
#include "Framework/Module.h"
#include "Framework/Registry.h"
#include "Framework/GuidText.h"
#include "Framework/Paths.h"
#include "TestSupport/IisStoreStandIn.h"

#include <olectl.h>

#include <climits>
#include <vector>

namespace {

// The description file: the environment variable of this process, else the registry value.
std::wstring SiteDescriptionPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetEnvironmentVariableW(TestSupport::IisSitesVariable, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            break;
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length);
    }
    Framework::RegistryKey key;
    std::wstring value;
    if (key.Open(HKEY_CURRENT_USER, TestSupport::IisSitesKey) == ERROR_SUCCESS &&
        key.QueryString(TestSupport::IisSitesValue, value) == ERROR_SUCCESS)
        return value;
    return std::wstring();
}

// The description file as UTF-8 text (an optional byte-order mark is skipped); a file that is not
// UTF-8 is refused.
HRESULT ReadDescriptionText(const std::wstring& path, std::wstring& text)
{
    std::string bytes;
    if (DWORD error = Framework::ReadWholeFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE, Framework::kNoReadLimit,
                                               Framework::NulByte::Kept, bytes))
        return HRESULT_FROM_WIN32(error);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    text.clear();
    if (bytes.empty())
        return S_OK;
    if (bytes.size() > static_cast<size_t>(INT_MAX))
        return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
    int size = static_cast<int>(bytes.size());
    int characters = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (characters <= 0)
        return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);
    text.resize(static_cast<size_t>(characters));
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, &text[0], characters);
    return S_OK;
}

// The current description; CLASS_E_CLASSNOTAVAILABLE when none is configured, another failure
// when it cannot be read or parsed (the reason goes to the debugger output).
HRESULT LoadDescription(std::shared_ptr<const IisStore::SiteDescription>& description)
{
    std::wstring path = SiteDescriptionPath();
    if (path.empty())
        return CLASS_E_CLASSNOTAVAILABLE;
    std::wstring text;
    HRESULT result = ReadDescriptionText(path, text);
    if (FAILED(result))
        return result;
    auto parsed = std::make_shared<IisStore::SiteDescription>();
    std::wstring error;
    if (!IisStore::ParseSiteDescription(text, *parsed, error)) {
        ::OutputDebugStringW((L"IIS store stand-in: " + path + L": " + error + L"\n").c_str());
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    description = parsed;
    return S_OK;
}

// Creates Store over the current description unless the description marks it absent.
template <typename Store, bool IisStore::SiteDescription::*absent>
HRESULT CreateStore(REFIID iid, void** out)
{
    std::shared_ptr<const IisStore::SiteDescription> description;
    HRESULT result = LoadDescription(description);
    if (FAILED(result))
        return result;
    if ((*description).*absent)
        return CLASS_E_CLASSNOTAVAILABLE;
    return Framework::CreateComObject<Store>(iid, out, description);
}

const Framework::ClassEntry classes[] = {
    {&CLSID_MSAdminBase_W, &CreateStore<IisStore::MetabaseStore, &IisStore::SiteDescription::metabaseAbsent>},
    {&CLSID_AppHostAdminManager, &CreateStore<IisStore::AdminManager, &IisStore::SiteDescription::appHostAbsent>},
    {nullptr, nullptr},
};

struct Registration {
    const CLSID* clsid;
    const wchar_t* name;
};
const Registration registrations[] = {
    {&CLSID_MSAdminBase_W, L"Quillon test stand-in: IIS metabase"},
    {&CLSID_AppHostAdminManager, L"Quillon test stand-in: IIS application host"},
};

std::wstring ClassKey(const CLSID& clsid)
{
    return L"CLSID\\" + Framework::GuidText(clsid);
}

}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Framework::Module().Init(instance);
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

// Whether a store is absent is decided afresh for every request, so that a test can switch
// descriptions between two creations.
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    for (const Framework::ClassEntry* entry = classes; entry->clsid; ++entry) {
        if (::IsEqualCLSID(clsid, *entry->clsid)) {
            void* probe = nullptr;
            HRESULT available = entry->create(IID_IUnknown, &probe);
            if (FAILED(available))
                return available;
            static_cast<IUnknown*>(probe)->Release();
        }
    }
    return Framework::GetClassObject(classes, clsid, iid, out);
}

STDAPI DllCanUnloadNow()
{
    return Framework::ServerCounts::CanUnloadNow();
}

STDAPI DllRegisterServer()
{
    return Framework::GuardedCall([]() -> HRESULT {
        std::wstring module = Framework::ModuleFileName(Framework::Module().GetModuleInstance());
        if (module.empty())
            return SELFREG_E_CLASS;
        for (const Registration& registration : registrations) {
            Framework::RegistryKey key;
            Framework::RegistryKey server;
            if (key.Create(HKEY_CLASSES_ROOT, ClassKey(*registration.clsid)) != ERROR_SUCCESS ||
                key.SetString(nullptr, registration.name) != ERROR_SUCCESS ||
                server.Create(key.Get(), L"InprocServer32") != ERROR_SUCCESS ||
                server.SetString(nullptr, module) != ERROR_SUCCESS ||
                // Immutable data and interlocked counts: callable from any apartment, never marshalled.
                server.SetString(L"ThreadingModel", L"Both") != ERROR_SUCCESS)
                return SELFREG_E_CLASS;
        }
        return S_OK;
    });
}

STDAPI DllUnregisterServer()
{
    return Framework::GuardedCall([]() -> HRESULT {
        HRESULT result = S_OK;
        for (const Registration& registration : registrations) {
            if (Framework::DeleteKeyTree(HKEY_CLASSES_ROOT, ClassKey(*registration.clsid)) != ERROR_SUCCESS)
                result = SELFREG_E_CLASS;
        }
        return result;
    });
}
