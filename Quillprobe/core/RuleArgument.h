#pragma once
// The rule line as it arrives on the command line.
#include <string>

namespace Orvane { namespace Quillprobe {

// Removes one leading and then one trailing double quote, each only when it is there.
std::wstring UnquoteRuleArgument(std::wstring argument);

}}
