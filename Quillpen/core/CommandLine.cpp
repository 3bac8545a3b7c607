#include "CommandLine.h"

namespace Orvane { namespace Quillpen {

std::wstring PathFromCommandLine(const std::wstring& line)
{
    if (line.empty() || line[0] != L'"')
        return line;
    size_t close = line.find(L'"', 1);
    if (close == std::wstring::npos)
        return line.substr(1);
    return line.substr(1, close - 1);
}

}}
