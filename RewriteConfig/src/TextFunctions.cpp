#include "RewriteConfig/TextFunctions.h"

#include <boost/algorithm/string/replace.hpp>

#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

std::wstring LogBaseDirectory;

namespace {

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

bool PathHasColon(const std::wstring& path)
{
    return path.find(L':') != std::wstring::npos;
}

}}
