#pragma once
// One directive or section expression, matched against a whole logical line.
#include <string>

#include <boost/regex.hpp>

#include "LinearMatcher.h"

namespace Orvane { namespace Quillon { namespace Detail {

// A line as the parsers look at it: the text and its ASCII lower-case copy for the keyword checks.
class LineText {
public:
    explicit LineText(const std::string& text);
    const std::string& text;
    std::string lowered;
};

class LineExpression {
public:
    // keyword: lower-case text that every whole-line match contains ("" when there is none, nullptr
    // for the blank line, which no printable ASCII character can be part of).
    LineExpression(const char* text, const char* keyword);

    const char* const text;
    const char* const keyword;
    const boost::regex regex;
    const LinearMatcher linear;

    // The cheap check: false only when the whole-line match cannot succeed. The expressions are built
    // before main, with the classic locale, so a case-insensitive match of a keyword letter is an ASCII
    // letter of either case, and white space is never printable ASCII.
    bool CanMatch(const LineText& line) const;
    // The whole-line match and its groups, after the cheap check, by the linear matcher (by the
    // library's matcher only for an expression the linear matcher does not support).
    bool Match(const LineText& line, Captures& what) const;
    // The library's own whole-line match, for the cross-checks of the two above.
    bool MatchWholeLine(const std::string& line, boost::smatch& what) const;
};

}}}
