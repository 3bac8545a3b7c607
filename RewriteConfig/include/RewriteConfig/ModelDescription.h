#pragma once
// A configuration as its parse built it, written out as bytes, so that two readings compare as a
// whole: two containers hold the same configuration exactly when their descriptions are equal. A
// check that compares a reading with a later one keeps the earlier one's description rather than
// the model itself: the description takes about the size of the text read, the model about 30
// times that.
#include <string>

#include "RewriteConfig/Htaccess.h"

namespace Orvane { namespace Quillon {

// Every field that ModelWalk names, in its order, with the kind of each object. The bytes are for
// comparison, not for reading; the text holds just them, with no room to spare.
std::string DescribeModel(const Htaccess& container);

// Whether DescribeModel would give exactly the description, found without writing it out.
bool MatchesDescription(const Htaccess& container, const std::string& description);

}}
