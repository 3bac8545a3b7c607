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
    unsigned char negate;  // the pattern began with "!"
    unsigned char nocase;  // flag nocase or nc, also inside a longer piece ("sync")
    unsigned char ornext;  // flag ornext or or, also inside a longer piece ("force")
    // What testString refers to: "${", a %{HTTP:name} reference, a %{name} reference (a
    // %{HTTP:name} reference sets both).
    unsigned char hasDollarBraceReference;
    unsigned char hasHttpHeaderReference;
    unsigned char hasPercentBraceReference;
    unsigned char O;  // flag o, the whole piece; like every flag here only recorded
    boost::shared_ptr<ICondFunction> condFunction;  // shared between copies

    CfgRewriteCond();

    // Reads the flags and the pattern prefixes and builds condFunction. False when the record is not a
    // valid condition (empty argument, unknown flag, pattern that does not compile); no message.
    bool Parse();
};

}}
