// The library's entry point and its four exports: the class factory of the two classes, the
// unload test, and self-registration.
#include "ModuleState.h"
#include "PropSheetExtension.h"
#include "Registration.h"
#include "SnapinAbout.h"

#include <Framework/Module.h>
#include <Framework/ClassFactory.h>

namespace Orvane::Quillon {

// The factory of both classes: which one it makes is the creation function it was given.
using CClassFactory = Framework::ClassFactory;

namespace {

const Framework::ClassEntry kClasses[] = {
    {&CLSID_PropSheetExtension, &CreatePropSheetExtension},
    {&CLSID_SnapinAbout, &CreateSnapinAbout},
    {nullptr, nullptr},
};

}

}

using namespace Orvane::Quillon;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    try {
        switch (reason) {
        case DLL_PROCESS_ATTACH:
            if (!InitModule(instance))
                return FALSE;
            ::DisableThreadLibraryCalls(instance);
            return TRUE;
        case DLL_PROCESS_DETACH:
            TermModule();
            return TRUE;
        default:
            return TRUE;
        }
    } catch (...) {
        return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
    }
}

extern "C" HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return Framework::GetClassObject(kClasses, clsid, iid, out);
}

extern "C" HRESULT STDMETHODCALLTYPE DllCanUnloadNow()
{
    return Framework::ServerCounts::CanUnloadNow();
}

extern "C" HRESULT STDMETHODCALLTYPE DllRegisterServer()
{
    return RegisterServer(ModulePath(), Framework::Module().GetModuleInstance());
}

extern "C" HRESULT STDMETHODCALLTYPE DllUnregisterServer()
{
    return UnregisterServer();
}
