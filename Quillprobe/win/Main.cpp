// Quillprobe: tests one RewriteRule line against a test string.
#include <windows.h>
#include <commctrl.h>

#include <Framework/ProgramStart.h>

#include "QuillprobeDlg.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    Framework::ProgramSetup setup;
    setup.commonControls = ICC_WIN95_CLASSES;
    // Without the rich-edit library the dialog cannot be created; it stays loaded until the end.
    setup.library = L"RICHED20.DLL";
    setup.failureCode = Orvane::Quillprobe::kExitNoDialog;
    return Framework::RunProgram(instance, setup, [showCommand] {
        return Orvane::Quillprobe::RunQuillprobe(
            showCommand, Orvane::Quillprobe::CQuillprobeDlg::GetRuleArgument(::GetCommandLineW()));
    });
}
