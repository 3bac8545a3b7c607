#pragma once
// Messages shown in the tester's one-line Result field.
#include <string>

namespace Orvane { namespace Quillprobe {

// The lines of a message joined by one blank: a one-line field would show only the first line.
std::string JoinMessageLines(const std::string& text);

}}
