// Quillpen: the configuration file editor.
#include "WindowThreadManager.h"
#include "Strings.h"

#include "Framework/ProgramStart.h"

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    Framework::ProgramSetup setup;
    setup.commonControls = ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_WIN95_CLASSES;
    setup.library = Orvane::Quillpen::kRichEditLibrary;
    setup.failureCode = 0;
    return Framework::RunProgram(instance, setup, [&] {
        Orvane::Quillpen::CWindowThreadManager manager;
        return manager.Run(commandLine, showCommand);
    });
}
