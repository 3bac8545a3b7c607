#pragma once
// The directives of the old syntax and the matching of one line against them.
#include <cstddef>
#include <string>
#include <vector>

#include <RewriteConfig/LineMatcher.h>

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

struct OldDirectivePattern {
    OldDirective directive;
    // Matched against the whole line, ignoring case.
    const char* expression;
};

// The directives in the order in which a line is tried; the first that matches decides.
extern const OldDirectivePattern kOldDirectives[];
extern const std::size_t kOldDirectiveCount;

// The groups of a classified line; they refer to the line, which must outlive them.
struct OldGroups {
    const std::string* line = nullptr;
    std::vector<Orvane::Quillon::LinePart> parts;

    std::size_t Count() const { return parts.size(); }
    bool Matched(std::size_t index) const;
    // The group's text; empty when it took no part.
    std::string Text(std::size_t index) const;
};

// The directive whose expression matches the whole line first, with that expression's groups;
// Unknown when none does.
OldDirective ClassifyOldLine(const std::string& line, OldGroups& groups);
