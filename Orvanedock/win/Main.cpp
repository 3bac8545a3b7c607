// Orvanedock: the IIS sites in a tree, with the maker's property pages for the selected node.
#include "Program.h"

#include <Framework/Handles.h>
#include <Framework/Module.h>

#include <commctrl.h>
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
    Framework::Module().Init(instance);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);
    int result = 0;
    try {
        result = Orvane::Orvanedock::RunMainFrame(showCommand);
    } catch (...) {
        result = 0;
    }
    Framework::Module().Term();
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return result;
}
