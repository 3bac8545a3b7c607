#include "Framework/GuidText.h"

#include <objbase.h>

namespace Framework {

std::wstring GuidText(REFGUID guid)
{
    // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" and its terminator need 39 characters.
    constexpr int kGuidTextChars = 40;
    wchar_t buffer[kGuidTextChars] = {};
    int length = ::StringFromGUID2(guid, buffer, kGuidTextChars);
    // The count includes the terminator; 0 only when the buffer is too small, which it never is.
    return length > 1 ? std::wstring(buffer, static_cast<size_t>(length - 1)) : std::wstring();
}

}
