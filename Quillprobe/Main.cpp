// Quillprobe: tests one RewriteRule line against a test string.
#include <windows.h>
#include <commctrl.h>

#include <Framework/Handles.h>
#include <Framework/Module.h>

#include "Dialog/QuillprobeDlg.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    ::InitCommonControls();
    // Without the rich-edit library the dialog cannot be created; it stays loaded until the end.
    Framework::ScopedLibrary richEdit(::LoadLibraryW(L"RICHED20.DLL"));
    Framework::Module().Init(instance);
    int code = Orvane::Quillon::RunQuillprobe(
        showCommand, Orvane::Quillon::CQuillprobeDlg::GetRuleArgument(::GetCommandLineW()));
    Framework::Module().Term();
    return code;
}
