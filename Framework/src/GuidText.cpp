#include "Framework/GuidText.h"

#include <objbase.h>

namespace Framework {

std::wstring GuidText(REFGUID guid)
{
    wchar_t buffer[40] = {};
    int length = ::StringFromGUID2(guid, buffer, 40);
    // The count includes the terminator; 0 only when the buffer is too small, which 40 never is.
    return length > 1 ? std::wstring(buffer, static_cast<size_t>(length - 1)) : std::wstring();
}

}
