#include "StoredText.h"

#include <cstring>

namespace Orvane::Orvanedock {

std::wstring TextFromUtf16Data(const void* data, size_t bytes)
{
    if (!data)
        return std::wstring();
    // A trailing odd byte is no character.
    const size_t units = bytes / sizeof(char16_t);
    const unsigned char* in = static_cast<const unsigned char*>(data);
    std::wstring text;
    text.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        char16_t unit;
        std::memcpy(&unit, in + i * sizeof(char16_t), sizeof(unit));
        if (unit == 0)
            break;
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

}
