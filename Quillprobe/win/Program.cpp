#include "QuillprobeDlg.h"

#include <Framework/MessageLoop.h>
#include <Framework/Module.h>

namespace Orvane { namespace Quillprobe {

int RunQuillprobe(int showCommand, const std::wstring& ruleArgument)
{
    Framework::CMessageLoop loop;
    Framework::MessageLoopRegistration registration(&loop);
    CQuillprobeDlg dialog(ruleArgument);
    if (!dialog.Create(nullptr))
        return kExitNoDialog;
    dialog.ShowWindow(showCommand);
    return loop.Run();
}

}}
