// Orvanedock: the IIS sites in a tree, with the maker's property pages for the selected node.
#include "Program.h"

#include <Framework/Handles.h>
#include <Framework/ProgramStart.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    // Held until the end, after COM and the module have ended.
    Framework::ScopedHandle mutex;
    if (!Orvane::Orvanedock::CheckSingleInstance(mutex))
        return 0;
    // The program runs without COM too; it then finds no store and no extension.
    Framework::ComInitialization com;
    Framework::ProgramSetup setup;
    setup.commonControls = ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES;
    return Framework::RunProgram(instance, setup, [&] { return Orvane::Orvanedock::RunMainFrame(showCommand); });
}
