#include "QuillprobeDlg.h"

#include <Framework/MessageLoop.h>
#include <Framework/Module.h>

namespace Orvane { namespace Quillon {

int RunQuillprobe(int showCommand, const std::wstring& ruleArgument)
{
    Framework::CMessageLoop loop;
    Framework::Module().AddMessageLoop(&loop);
    int code = kExitNoDialog;
    {
        CQuillprobeDlg dialog(ruleArgument);
        if (dialog.Create(nullptr)) {
            dialog.ShowWindow(showCommand);
            code = loop.Run();
        }
    }
    Framework::Module().RemoveMessageLoop();
    return code;
}

}}
