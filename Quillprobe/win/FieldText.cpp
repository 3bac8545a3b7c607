#include "FieldText.h"

#include <Framework/Window.h>
#include <RewriteConfig/Platform.h>

namespace Orvane { namespace Quillprobe {

std::string FieldText(HWND field)
{
    return Quillon::Platform::WideToAnsi(Framework::CWindow(field).GetWindowText());
}

void SetFieldText(HWND field, const std::string& text)
{
    ::SetWindowTextW(field, Quillon::Platform::AnsiToWide(text).c_str());
}

}}
