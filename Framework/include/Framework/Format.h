#pragma once
// Message formatting with %s, %d, %i and %u, of any length, and hexadecimal text.
#include <initializer_list>
#include <string>

namespace Framework {

class FormatArg {
public:
    FormatArg(const wchar_t* text) : text_(text ? text : L"") {}
    FormatArg(const std::wstring& text) : text_(text) {}
    FormatArg(int value) : text_(std::to_wstring(value)) {}
    FormatArg(long value) : text_(std::to_wstring(value)) {}
    FormatArg(unsigned value) : text_(std::to_wstring(value)) {}
    FormatArg(unsigned long value) : text_(std::to_wstring(value)) {}
    FormatArg(long long value) : text_(std::to_wstring(value)) {}
    const std::wstring& Text() const noexcept { return text_; }

private:
    std::wstring text_;
};

// Replaces %s, %d, %i and %u by the arguments in order and %% by %; the result has any length.
std::wstring FormatText(const wchar_t* format, std::initializer_list<FormatArg> args);

// The value in lower-case hexadecimal digits, at least minDigits of them (zeros in front).
std::wstring HexText(unsigned long long value, unsigned minDigits = 1);

}
