#include "ModuleState.h"

#include <Framework/Handles.h>
#include <Framework/Module.h>
#include <Framework/Paths.h>

#include <commctrl.h>

namespace Orvane::Quillon {
namespace {

struct State {
    std::wstring path;
    std::wstring directory;
    Framework::ScopedLibrary richEdit;
    bool initialised = false;
};

State& ModuleData() noexcept
{
    static State state;
    return state;
}

ClipboardFormats RegisterFormats() noexcept
{
    return ClipboardFormats{::RegisterClipboardFormatW(L"CCF_DISPLAY_NAME"), ::RegisterClipboardFormatW(L"CCF_NODETYPE"),
                            ::RegisterClipboardFormatW(L"CCF_SNAPIN_CLASSID"),
                            ::RegisterClipboardFormatW(L"ISM_SNAPIN_META_PATH")};
}

const ClipboardFormats g_formats = RegisterFormats();

}

const ClipboardFormats& RegisteredClipboardFormats() noexcept
{
    return g_formats;
}

bool InitModule(HINSTANCE instance)
{
    State& state = ModuleData();
    if (state.initialised)
        return true;
    state.path = Framework::ModuleFileName(instance);
    if (state.path.empty())
        return false;
    state.directory = Framework::ModuleFolder(instance);

    if (FAILED(Framework::Module().Init(instance)))
        return false;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);
    state.richEdit.Reset(::LoadLibraryW(L"RICHED20.DLL"));
    if (!state.richEdit) {
        Framework::Module().Term();
        return false;
    }
    state.initialised = true;
    return true;
}

void TermModule() noexcept
{
    State& state = ModuleData();
    if (!state.initialised)
        return;
    state.richEdit.Reset();
    Framework::Module().Term();
    state.initialised = false;
}

bool ModuleInitialised() noexcept
{
    return ModuleData().initialised;
}

const std::wstring& ModulePath() noexcept
{
    return ModuleData().path;
}

const std::wstring& ModuleDirectory() noexcept
{
    return ModuleData().directory;
}

}
