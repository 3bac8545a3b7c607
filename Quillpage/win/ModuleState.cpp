#include "ModuleState.h"

#include <Framework/Module.h>

#include <commctrl.h>

#include <vector>

namespace Orvane::Quillon {
namespace {

struct State {
    HINSTANCE instance = nullptr;
    std::wstring path;
    std::wstring directory;
    HMODULE richEdit = nullptr;
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
    state.instance = instance;
    std::vector<wchar_t> buffer(8192);
    const DWORD length = ::GetModuleFileNameW(instance, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size())
        return false;
    state.path.assign(buffer.data(), length);
    const size_t slash = state.path.find_last_of(L'\\');
    state.directory = slash == std::wstring::npos ? std::wstring() : state.path.substr(0, slash + 1);

    if (FAILED(Framework::Module().Init(instance)))
        return false;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);
    state.richEdit = ::LoadLibraryW(L"RICHED20.DLL");
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
    ::FreeLibrary(state.richEdit);
    state.richEdit = nullptr;
    Framework::Module().Term();
    state.initialised = false;
}

bool ModuleInitialised() noexcept
{
    return ModuleData().initialised;
}

HINSTANCE ModuleInstance() noexcept
{
    return ModuleData().instance;
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
