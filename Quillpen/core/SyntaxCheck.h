#pragma once
// The check of a whole configuration text as a server-level file.
#include <string>

namespace Orvane { namespace Quillpen {

// Parses the text into a fresh server configuration and appends its error lines to errors;
// false when the check itself could not run.
bool CollectSyntaxErrors(const std::string& text, std::string& errors);

}}
