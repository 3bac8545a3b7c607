#include "Framework/Text.h"

#include "Framework/Handles.h"
#include "Framework/Module.h"

#include <vector>

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

std::wstring AnsiToWide(const std::string& text, UINT codePage)
{
    if (text.empty())
        return std::wstring();
    int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string WideToAnsi(const std::wstring& text, UINT codePage)
{
    if (text.empty())
        return std::string();
    int length = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string narrow(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &narrow[0], length, nullptr,
                          nullptr);
    return narrow;
}

std::wstring LoadResourceString(UINT id, HINSTANCE instance)
{
    if (!instance)
        instance = Module().GetResourceInstance();
    if (!instance)
        instance = ::GetModuleHandleW(nullptr);
    // With a zero buffer size LoadStringW hands out a pointer into the resource itself.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return std::wstring();
    return std::wstring(text, static_cast<size_t>(length));
}

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

std::wstring ModuleFileName(HMODULE module)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = ::GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::wstring();
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768)
            return std::wstring();
        buffer.resize(buffer.size() * 2);
    }
}

}
