#include "RuleArgument.h"

namespace Orvane { namespace Quillprobe {

std::wstring UnquoteRuleArgument(std::wstring argument)
{
    if (!argument.empty() && argument.front() == L'"')
        argument.erase(0, 1);
    if (!argument.empty() && argument.back() == L'"')
        argument.pop_back();
    return argument;
}

}}
