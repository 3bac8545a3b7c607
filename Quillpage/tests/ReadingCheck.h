#pragma once
// The contract of the proxy section rewrite, checked by parsing the text before and after it as the
// directory level, the whole language and the site page's server file read it: each gives the same
// model (every field, section, host, map, rule and condition, in order) but for the proxy settings,
// which are exactly the new ones; no reader refuses other lines than before; the lines outside the
// sections and the bytes from the first NUL byte on stay, in order.
#include <RewriteConfig/Htaccess.h>

#include <string>

namespace Orvane { namespace Quillon { namespace Testing {

// A readable text of everything a parse built in the container but its line count, as ModelWalk
// names it.
std::string ModelText(const Htaccess& container);

// Adds a failure to the running test for every broken part of the contract.
void ExpectRewriteKeepsContract(const std::string& before, const std::string& after, const ProxySettings& settings);

}}}
