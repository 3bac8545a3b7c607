#include "SafeRegex.h"

#include <cctype>
#include <climits>
#include <cwctype>
#include <exception>

namespace Orvane { namespace Quillon { namespace Detail {

bool SafeSearch(const std::string& text, boost::smatch& what, const boost::regex& expression)
{
    try {
        return boost::regex_search(text, what, expression);
    } catch (const std::exception&) {
        return false;
    }
}

std::int32_t DecimalValue(const std::string& digits)
{
    std::int64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > INT32_MAX)
            return INT32_MAX;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t SaturatedProduct(std::int32_t value, std::int32_t factor)
{
    const std::int64_t product = static_cast<std::int64_t>(value) * factor;
    return product > INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(product);
}

std::string& TrimSpace(std::string& text)
{
    std::string::size_type end = text.size();
    while (end > 0 && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    std::string::size_type begin = 0;
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    // Most texts have nothing to trim.
    if (end != text.size())
        text.erase(end);
    if (begin != 0)
        text.erase(0, begin);
    return text;
}

std::wstring& TrimSpace(std::wstring& text)
{
    std::wstring::size_type end = text.size();
    while (end > 0 && std::iswspace(static_cast<std::wint_t>(text[end - 1])))
        --end;
    std::wstring::size_type begin = 0;
    while (begin < end && std::iswspace(static_cast<std::wint_t>(text[begin])))
        ++begin;
    text.erase(end);
    text.erase(0, begin);
    return text;
}

std::string& LowerCase(std::string& text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::wstring& LowerCase(std::wstring& text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    return text;
}

bool EqualsNoCase(const std::string& a, const char* b)
{
    std::string::size_type i = 0;
    for (; b[i] != '\0'; ++i) {
        if (i >= a.size())
            return false;
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    }
    return i == a.size();
}

}}}
