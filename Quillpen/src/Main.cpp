// Quillpen: the configuration file editor.
#include "WindowThreadManager.h"
#include "Strings.h"

#include "Framework/Handles.h"
#include "Framework/Module.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    Framework::Module().Init(instance);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The program goes on without the library; the views then cannot be created.
    Framework::ScopedLibrary richEdit(::LoadLibraryW(Quillpen::kRichEditLibrary));
    int result = 0;
    try {
        Quillpen::CWindowThreadManager manager;
        result = manager.Run(commandLine, showCommand);
    } catch (...) {
        result = 0;
    }
    richEdit.Reset();
    Framework::Module().Term();
    return result;
}
