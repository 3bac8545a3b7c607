#include "Framework/Format.h"

namespace Framework {

std::wstring FormatText(const wchar_t* format, std::initializer_list<FormatArg> args)
{
    std::wstring out;
    auto next = args.begin();
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        wchar_t kind = p[1];
        if (kind == L'%') {
            out += L'%';
            ++p;
        } else if (kind == L's' || kind == L'd' || kind == L'i' || kind == L'u') {
            if (next != args.end())
                out += (next++)->Text();
            ++p;
        } else {
            out += L'%';
        }
    }
    return out;
}

std::wstring HexText(unsigned long long value, unsigned minDigits)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0 || text.size() < minDigits);
    return text;
}

}
