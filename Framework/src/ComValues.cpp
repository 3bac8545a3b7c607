#include "Framework/ComValues.h"

#include <new>

namespace Framework {

Bstr::Bstr(const std::wstring& text) : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
{
    if (!value_)
        throw std::bad_alloc();
}

Bstr& Bstr::operator=(Bstr&& other) noexcept
{
    if (this != &other) {
        ::SysFreeString(value_);
        value_ = other.Detach();
    }
    return *this;
}

BSTR* Bstr::Receive() noexcept
{
    ::SysFreeString(value_);
    value_ = nullptr;
    return &value_;
}

BSTR Bstr::Detach() noexcept
{
    BSTR value = value_;
    value_ = nullptr;
    return value;
}

Variant::Variant(Variant&& other) noexcept
{
    ::VariantInit(&value_);
    other.Detach(&value_);
}

Variant& Variant::operator=(Variant&& other) noexcept
{
    if (this != &other) {
        ::VariantClear(&value_);
        other.Detach(&value_);
    }
    return *this;
}

Variant Variant::Int32(LONG value) noexcept
{
    Variant result;
    result.value_.vt = VT_I4;
    result.value_.lVal = value;
    return result;
}

Variant Variant::Int16(SHORT value) noexcept
{
    Variant result;
    result.value_.vt = VT_I2;
    result.value_.iVal = value;
    return result;
}

Variant Variant::Text(const std::wstring& text)
{
    Bstr value(text);
    Variant result;
    result.value_.vt = VT_BSTR;
    result.value_.bstrVal = value.Detach();
    return result;
}

VARIANT* Variant::Receive() noexcept
{
    ::VariantClear(&value_);
    return &value_;
}

void Variant::Detach(VARIANT* out) noexcept
{
    *out = value_;
    ::VariantInit(&value_);
}

}
