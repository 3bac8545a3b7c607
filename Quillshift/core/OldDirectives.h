#pragma once
// The directives of the old syntax and the matching of one line against them.
#include <string>

#include <boost/regex.hpp>

enum class OldDirective {
    EmptyLine,
    Comment,
    Unsupported,
    RepeatLimit,
    RFStyle,
    UriMatchPrefix,
    UriMatchSufix,
    RewriteCond,
    RewriteRule,
    RewriteHeader,
    RewriteProxy,
    Unknown,
};

// The directive whose expression matches the whole line first, with that expression's groups;
// Unknown when none does.
OldDirective ClassifyOldLine(const std::string& line, boost::smatch& groups);
