#pragma once
// A configuration as its parse built it, written out as bytes, so that two readings compare as a
// whole: two containers hold the same configuration exactly when their descriptions are equal.
#include <string>

#include "RewriteConfig/Htaccess.h"

namespace Orvane { namespace Quillon {

// Every field of the container and of what it holds, in order: its sections (open and closed),
// virtual hosts (with the names they share), maps, rules and the pending rule, with their conditions,
// flags, compiled expressions and condition tests, and the kind of each object. Only the parse's
// count of lines is left out: it tells where lines stood, not what they mean. The bytes are for
// comparison, not for reading. Appended to the description, so that a caller can reserve room for it.
void DescribeModel(const Htaccess& container, std::string& description);

// Whether DescribeModel would write exactly the description into an empty text, found without
// writing it out.
bool MatchesDescription(const Htaccess& container, const std::string& description);

}}
