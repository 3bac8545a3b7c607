#pragma once
// Owners of the COM value types: a BSTR (SysFreeString) and a VARIANT (VariantClear).
// Task memory (CoTaskMemFree) is CoTaskMemory in Handles.h.
#include <windows.h>
#include <oleauto.h>
#include <string>

namespace Framework {

class Bstr {
public:
    Bstr() noexcept = default;
    // Throws std::bad_alloc when the string cannot be allocated.
    explicit Bstr(const std::wstring& text);
    ~Bstr() { ::SysFreeString(value_); }
    Bstr(Bstr&& other) noexcept : value_(other.Detach()) {}
    Bstr& operator=(Bstr&& other) noexcept;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR Get() const noexcept { return value_; }
    // For a function that returns a new BSTR through an out parameter.
    BSTR* Receive() noexcept;
    BSTR Detach() noexcept;
    // Length in characters; a null BSTR is the empty text.
    size_t Length() const noexcept { return ::SysStringLen(value_); }
    std::wstring Text() const { return std::wstring(value_ ? value_ : L"", Length()); }

private:
    BSTR value_ = nullptr;
};

class Variant {
public:
    Variant() noexcept { ::VariantInit(&value_); }
    ~Variant() { ::VariantClear(&value_); }
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    static Variant Int32(LONG value) noexcept;
    static Variant Int16(SHORT value) noexcept;
    // Throws std::bad_alloc when the string cannot be allocated.
    static Variant Text(const std::wstring& text);

    const VARIANT& Get() const noexcept { return value_; }
    VARTYPE Type() const noexcept { return value_.vt; }
    // Cleared first; for a function that fills a VARIANT.
    VARIANT* Receive() noexcept;
    // Hands the value to a caller's VARIANT (which must be empty) and leaves this one empty.
    void Detach(VARIANT* out) noexcept;

private:
    VARIANT value_;
};

}
