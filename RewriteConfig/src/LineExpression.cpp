#include "LineExpression.h"

#include "SafeRegex.h"

namespace Orvane { namespace Quillon { namespace Detail {

LineText::LineText(const std::string& line) : text(line), lowered(line)
{
    for (char& c : lowered)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

LineExpression::LineExpression(const char* expressionText, const char* keywordText)
    : text(expressionText), keyword(keywordText), regex(expressionText, kNoCase), linear(expressionText, kNoCase)
{
}

bool LineExpression::CanMatch(const LineText& line) const
{
    if (keyword == nullptr) {
        for (char c : line.text)
            if (c > ' ' && c < 0x7F)
                return false;
        return true;
    }
    return line.lowered.find(keyword) != std::string::npos;
}

bool LineExpression::Match(const LineText& line, Captures& what) const
{
    if (!CanMatch(line))
        return false;
    if (linear.Usable())
        return linear.MatchesWhole(line.text) && linear.MatchGroups(line.text, what);
    boost::smatch found;
    if (!SafeMatch(line.text, found, regex))
        return false;
    what.Assign(found);
    return true;
}

bool LineExpression::MatchWholeLine(const std::string& line, boost::smatch& what) const
{
    return SafeMatch(line, what, regex);
}

}}}
