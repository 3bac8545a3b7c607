#include "RewriteConfig/TextFunctions.h"

#include <cstring>
#include <mutex>

#include <boost/algorithm/string/replace.hpp>

#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

namespace {

std::mutex& LogBaseLock()
{
    static std::mutex lock;
    return lock;
}

std::wstring& LogBaseValue()
{
    static std::wstring value;
    return value;
}

template <class Text>
Text& TrimUnquoteText(Text& text)
{
    Detail::TrimSpace(text);
    if (!text.empty() && text.front() == '"')
        text.erase(0, 1);
    if (!text.empty() && text.back() == '"')
        text.pop_back();
    return text;
}

}

std::string& TrimUnquote(std::string& text)
{
    return TrimUnquoteText(text);
}

std::wstring& TrimUnquote(std::wstring& text)
{
    return TrimUnquoteText(text);
}

std::string& TrimDirectoryPath(std::string& text)
{
    Detail::TrimSpace(text);
    if (text.empty() || (text.back() != '/' && text.back() != '\\'))
        text.push_back('\\');
    return text;
}

std::wstring& TrimDirectoryPath(std::wstring& text)
{
    Detail::TrimSpace(text);
    if (!text.empty() && text.back() != L'/' && text.back() != L'\\')
        text.push_back(L'\\');
    return text;
}

std::string& WildcardToRegex(std::string& text)
{
    // The order matters: backslashes first, and "?" and "*" after ".", so that the dot and the
    // bracket expression they bring in keep their meaning.
    static const char* const passes[][2] = {
        {"\\", "\\\\"}, {"[", "\\["}, {"{", "\\{"}, {"(", "\\("}, {")", "\\)"}, {"+", "\\+"},
        {"^", "\\^"},   {"$", "\\$"}, {".", "\\."}, {"?", ".?"},  {"*", "[^/]*"},
    };
    for (const auto& pass : passes)
        boost::algorithm::replace_all(text, pass[0], pass[1]);
    return text;
}

std::string IntToString(std::int32_t value)
{
    return std::to_string(value);
}

std::wstring IntToWideString(std::int32_t value)
{
    return std::to_wstring(value);
}

std::wstring Int64ToWideString(std::int64_t value)
{
    return std::to_wstring(static_cast<long long>(value));
}

std::wstring TextFromUtf16Data(const void* data, std::size_t bytes)
{
    if (!data)
        return std::wstring();
    const std::size_t units = bytes / sizeof(char16_t);
    const unsigned char* in = static_cast<const unsigned char*>(data);
    std::wstring text;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        char16_t unit;
        std::memcpy(&unit, in + i * sizeof(char16_t), sizeof(unit));
        if (unit == 0)
            break;
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

std::wstring LogBaseDirectory()
{
    std::lock_guard<std::mutex> hold(LogBaseLock());
    return LogBaseValue();
}

void SetLogBaseDirectory(const std::wstring& directory)
{
    std::wstring copy = directory;
    std::lock_guard<std::mutex> hold(LogBaseLock());
    LogBaseValue().swap(copy);
}

bool PathHasColon(const std::wstring& path)
{
    return path.find(L':') != std::wstring::npos;
}

}}
