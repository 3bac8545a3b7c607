#include "Framework/FindReplace.h"

#include "Framework/Module.h"

#include <cwchar>

namespace Framework {

namespace {

void CopyBounded(wchar_t* target, size_t capacity, const std::wstring& text)
{
    size_t count = text.size() < capacity - 1 ? text.size() : capacity - 1;
    wmemcpy(target, text.data(), count);
    target[count] = L'\0';
}

std::wstring ReadBounded(const wchar_t* text, WORD bytes)
{
    if (!text)
        return std::wstring();
    size_t capacity = bytes / sizeof(wchar_t);
    size_t length = 0;
    while (length < capacity && text[length])
        ++length;
    return std::wstring(text, length);
}

}

UINT CFindReplaceDialog::GetFindReplaceMsg()
{
    static const UINT message = ::RegisterWindowMessageW(FINDMSGSTRINGW);
    return message;
}

bool CFindReplaceDialog::Create(bool findOnly, const std::wstring& findWhat, const std::wstring& replaceWith,
                                DWORD flags, HWND owner)
{
    Destroy();
    CopyBounded(findWhat_, kBufferChars, findWhat);
    CopyBounded(replaceWith_, kBufferChars, replaceWith);
    record_ = FINDREPLACEW{};
    record_.lStructSize = sizeof(record_);
    record_.hwndOwner = owner;
    record_.hInstance = Module().GetResourceInstance();
    record_.Flags = flags;
    record_.lpstrFindWhat = findWhat_;
    record_.wFindWhatLen = static_cast<WORD>(sizeof(findWhat_));
    if (!findOnly) {
        record_.lpstrReplaceWith = replaceWith_;
        record_.wReplaceWithLen = static_cast<WORD>(sizeof(replaceWith_));
    }
    findOnly_ = findOnly;
    window_ = findOnly ? ::FindTextW(&record_) : ::ReplaceTextW(&record_);
    return window_ != nullptr;
}

void CFindReplaceDialog::Destroy()
{
    if (window_) {
        HWND window = window_;
        window_ = nullptr;
        if (::IsWindow(window))
            ::DestroyWindow(window);
    }
}

std::wstring CFindReplaceDialog::FindString(const FINDREPLACEW& request)
{
    return ReadBounded(request.lpstrFindWhat, request.wFindWhatLen);
}

std::wstring CFindReplaceDialog::ReplaceString(const FINDREPLACEW& request)
{
    return ReadBounded(request.lpstrReplaceWith, request.wReplaceWithLen);
}

}
