#include "RewriteConfig/CondFunctions.h"

#include <cstring>
#include <utility>

#include "RewriteConfig/Platform.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

namespace {

// Compares as C strings, up to the first zero byte: _stricmp-like with nocase, byte-wise otherwise.
int CompareCondText(const std::string& value, const std::string& pattern, unsigned char nocase)
{
    return nocase ? Platform::CompareNoCase(value.c_str(), pattern.c_str())
                  : std::strcmp(value.c_str(), pattern.c_str());
}

}

CondEqual::CondEqual(unsigned char nocaseFlag) : nocase(nocaseFlag) {}

bool CondEqual::Evaluate(const std::string& value, const std::string& pattern, boost::smatch&)
{
    return CompareCondText(value, pattern, nocase) == 0;
}

CondLess::CondLess(unsigned char nocaseFlag) : nocase(nocaseFlag) {}

bool CondLess::Evaluate(const std::string& value, const std::string& pattern, boost::smatch&)
{
    return CompareCondText(value, pattern, nocase) < 0;
}

CondGreater::CondGreater(unsigned char nocaseFlag) : nocase(nocaseFlag) {}

bool CondGreater::Evaluate(const std::string& value, const std::string& pattern, boost::smatch&)
{
    return CompareCondText(value, pattern, nocase) > 0;
}

bool CondDirectory::Evaluate(const std::string& value, const std::string&, boost::smatch&)
{
    Platform::FileAttributes attributes;
    return Platform::QueryFileAttributes(value, attributes) && attributes.isDirectory;
}

bool CondFile::Evaluate(const std::string& value, const std::string&, boost::smatch&)
{
    Platform::FileAttributes attributes;
    return Platform::QueryFileAttributes(value, attributes) && !attributes.isDirectory;
}

bool CondFileWithSize::Evaluate(const std::string& value, const std::string&, boost::smatch&)
{
    Platform::FileAttributes attributes;
    return Platform::QueryFileAttributes(value, attributes) && !attributes.isDirectory && attributes.size != 0;
}

CondRegexp::CondRegexp(std::string patternText, unsigned char nocaseFlag)
    : pattern(std::move(patternText)), nocase(nocaseFlag)
{
}

bool CondRegexp::Compile()
{
    try {
        boost::regex compiled(pattern, Detail::PatternSyntax(nocase != 0));
        regex.swap(compiled);
        return true;
    } catch (...) {
        return false;
    }
}

bool CondRegexp::Evaluate(const std::string& value, const std::string&, boost::smatch& captures)
{
    // A pattern that did not compile leaves no expression, and nothing matches it.
    return !regex.empty() && Detail::SafeSearch(value, captures, regex);
}

}}
