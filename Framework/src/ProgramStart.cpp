#include "Framework/ProgramStart.h"

#include "Framework/Handles.h"
#include "Framework/Module.h"

#include <commctrl.h>

namespace Framework {

int RunProgram(HINSTANCE instance, const ProgramSetup& setup, const std::function<int()>& body) noexcept
{
    Module().Init(instance);
    INITCOMMONCONTROLSEX controls{sizeof(controls), setup.commonControls};
    ::InitCommonControlsEx(&controls);
    int result = setup.failureCode;
    {
        ScopedLibrary library(setup.library ? ::LoadLibraryW(setup.library) : nullptr);
        try {
            result = body();
        } catch (...) {
            result = setup.failureCode;
        }
    }
    Module().Term();
    return result;
}

}
