#include "Common/ModuleVersionInfo.h"

#include "Framework/Format.h"
#include "Framework/Paths.h"

#include <cwchar>
#include <cstdlib>
#include <string>

namespace {

constexpr WORD kDefaultLanguage = 0;
constexpr WORD kDefaultCodePage = 1252;
constexpr DWORD kFixedInfoSignature = 0xFEEF04BD;
constexpr size_t kProductVersionChars = 64;

bool IsSeparator(wchar_t c) { return c == L'.' || c == L','; }

}

ModuleVersionInfo::ModuleVersionInfo() : fixedInfo_{}, language_(kDefaultLanguage), codePage_(kDefaultCodePage) {}

bool ModuleVersionInfo::Load(HMODULE module)
{
    language_ = kDefaultLanguage;
    codePage_ = kDefaultCodePage;
    fixedInfo_ = VS_FIXEDFILEINFO{};

    const std::wstring path = Framework::ModuleFileName(module);
    if (path.empty())
        return false;
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return false;
    block_.clear();
    block_.assign(size, 0);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block_.data())) {
        block_.clear();
        return false;
    }

    void* value = nullptr;
    UINT valueSize = 0;
    if (!::VerQueryValueW(block_.data(), L"\\", &value, &valueSize) || !value || valueSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    fixedInfo_ = *static_cast<const VS_FIXEDFILEINFO*>(value);

    value = nullptr;
    valueSize = 0;
    if (::VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &value, &valueSize) && value && valueSize > 3) {
        DWORD translation = *static_cast<const DWORD*>(value);
        language_ = LOWORD(translation);
        codePage_ = HIWORD(translation);
    }
    return fixedInfo_.dwSignature == kFixedInfoSignature;
}

bool ModuleVersionInfo::QueryValue(const wchar_t* name, wchar_t* out, size_t capacity) const
{
    if (block_.empty() || !name || !out || capacity == 0)
        return false;
    std::wstring query = L"\\StringFileInfo\\";
    // Language and code page, four hexadecimal digits each: "040904e4".
    query += Framework::HexText(language_, 4);
    query += Framework::HexText(codePage_, 4);
    query += L'\\';
    query += name;
    void* value = nullptr;
    UINT chars = 0;
    // VerQueryValueW only reads the block, but takes it as a non-const pointer.
    void* block = const_cast<BYTE*>(block_.data());
    if (!::VerQueryValueW(block, query.c_str(), &value, &chars) || !value)
        return false;
    const wchar_t* text = static_cast<const wchar_t*>(value);
    size_t length = 0;
    while (length < chars && text[length])
        ++length;
    if (length > capacity - 1)
        length = capacity - 1;
    wmemcpy(out, text, length);
    out[length] = L'\0';
    return true;
}

bool ModuleVersionInfo::SplitVersion(wchar_t* text, WORD& major, WORD& minor, WORD& build, WORD& revision)
{
    WORD* parts[4] = {&major, &minor, &build, &revision};
    for (WORD* part : parts)
        *part = 0;
    if (!text)
        return false;
    int found = 0;
    wchar_t* p = text;
    while (found < 4) {
        while (*p && IsSeparator(*p))
            ++p;
        if (!*p)
            break;
        wchar_t* token = p;
        while (*p && !IsSeparator(*p))
            ++p;
        if (*p)
            *p++ = L'\0';
        *parts[found++] = static_cast<WORD>(std::wcstol(token, nullptr, 10));
    }
    return found == 4;
}

bool ModuleVersionInfo::GetProductVersion(WORD& major, WORD& minor, WORD& build, WORD& revision) const
{
    wchar_t text[kProductVersionChars] = {};
    if (!QueryValue(L"ProductVersion", text, kProductVersionChars)) {
        major = minor = build = revision = 0;
        return false;
    }
    return SplitVersion(text, major, minor, build, revision);
}
