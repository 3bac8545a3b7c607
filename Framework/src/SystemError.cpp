#include "Framework/SystemError.h"

#include "Framework/Handles.h"

namespace Framework {

std::wstring SystemErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                        FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                    reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    ScopedLocal owner(buffer);
    if (!length || !buffer)
        return std::wstring();
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    return text;
}

}
