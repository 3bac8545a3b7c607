// Orvanedock: the IIS sites in a tree, with the maker's property pages for the selected node.
#include "Program.h"

#include <Framework/Handles.h>
#include <Framework/ProgramStart.h>

#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    HANDLE mutex = nullptr;
    if (!Orvane::Orvanedock::CheckSingleInstance(mutex)) {
        if (mutex)
            ::CloseHandle(mutex);
        return 0;
    }
    Framework::ScopedHandle guard(mutex);
    // The program runs without COM too; it then finds no store and no extension.
    HRESULT com = ::CoInitialize(nullptr);
    Framework::ProgramSetup setup;
    setup.commonControls = ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES;
    int result = Framework::RunProgram(instance, setup, [&] { return Orvane::Orvanedock::RunMainFrame(showCommand); });
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return result;
}
