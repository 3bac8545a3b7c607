#pragma once
// One condition of the old syntax, converted into the new language.
#include <string>

#include <boost/regex.hpp>

#include "RewriteConfig/CfgRewriteCond.h"

class OldRewriteCond : public Orvane::Quillon::CfgRewriteCond {
public:
    std::string comment;  // the old line's trailing comment, "#" included
    boost::regex regex;   // the anchored pattern; its group count drives the back-reference renumbering
    // What the condition parser cut off the front of the pattern ("!", "=", "<", ">", "-d", "-f", "-s"),
    // kept so that the written condition tests what the old one tested.
    std::string patternPrefix;

    // Parses the condition, maps its test string, anchors and compiles its pattern.
    // False when the line cannot be taken over.
    virtual bool Convert();
    // Appends the condition's line, ended with CR LF.
    virtual void Write(std::string& out) const;

    // Puts "^" in front of and "$" behind a pattern unless it is empty, ".*" or "(.*)".
    static void AnchorPattern(std::string& pattern);
    // Maps an old test string onto the new variable references.
    static std::string MapTestString(const std::string& testString);
};
