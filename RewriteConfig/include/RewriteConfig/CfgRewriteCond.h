#pragma once
// One RewriteCond directive.
#include <string>

#include <boost/shared_ptr.hpp>

#include "RewriteConfig/CondFunctions.h"

namespace Orvane { namespace Quillon {

class CfgRewriteCond {
public:
    std::string testString;  // first argument, with its variable references
    std::string pattern;     // second argument; Parse removes its prefixes
    std::string flagsText;   // third argument, brackets included
    unsigned char negate;
    unsigned char nocase;
    unsigned char ornext;
    unsigned char hasDollarBraceReference;
    unsigned char hasHttpHeaderReference;
    unsigned char hasPercentBraceReference;
    unsigned char O;
    boost::shared_ptr<ICondFunction> condFunction;  // shared between copies

    CfgRewriteCond();

    // Reads the flags and the pattern prefixes and builds condFunction. False when the record is not a
    // valid condition (empty argument, unknown flag, pattern that does not compile); no message.
    bool Parse();
};

}}
