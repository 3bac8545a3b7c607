#include "RewriteConfig/CfgRewriteCond.h"

#include <boost/make_shared.hpp>

#include "SafeRegex.h"
#include "SharedExpressions.h"

namespace Orvane { namespace Quillon {

CfgRewriteCond::CfgRewriteCond()
    : negate(0), nocase(0), ornext(0), hasDollarBraceReference(0), hasHttpHeaderReference(0),
      hasPercentBraceReference(0), O(0)
{
}

namespace {

// Whether text, of at least two characters, begins with "-" and then letter.
bool StartsWithDash(const std::string& text, char letter)
{
    return text[0] == '-' && text[1] == letter;
}

// Whether word occurs in text.
bool Contains(const std::string& text, const char* word)
{
    const std::size_t length = std::char_traits<char>::length(word);
    for (std::size_t at = 0; at + length <= text.size(); ++at) {
        std::size_t i = 0;
        while (i < length && text[at + i] == word[i])
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

}

bool CfgRewriteCond::Parse()
{
    if (testString.empty() || pattern.empty())
        return false;

    Detail::ScanReferences(testString, hasDollarBraceReference, hasHttpHeaderReference, hasPercentBraceReference);

    if (!flagsText.empty()) {
        Detail::LowerCase(flagsText);
        if (!flagsText.empty() && flagsText.front() == '[')
            flagsText.erase(0, 1);
        if (!flagsText.empty() && flagsText.back() == ']')
            flagsText.pop_back();
        // The first test that holds decides; a piece naming none of the flags ends the parse.
        const bool known = Detail::ForEachFlagPiece(flagsText, [this](std::string piece) {
            Detail::TrimSpace(piece);
            if (Contains(piece, "nocase") || Contains(piece, "nc"))
                nocase = 1;
            else if (Contains(piece, "ornext") || Contains(piece, "or"))
                ornext = 1;
            else if (piece == "o")
                O = 1;
            else
                return false;
            return true;
        });
        if (!known)
            return false;
    }

    if (!pattern.empty() && pattern.front() == '!') {
        negate = 1;
        pattern.erase(0, 1);
    }

    // Each comparison prefix is tested once, in this order; a later one replaces the test object.
    bool prefixed = false;
    if (!pattern.empty() && pattern.front() == '=') {
        pattern.erase(0, 1);
        condFunction = boost::make_shared<CondEqual>(nocase);
        prefixed = true;
    }
    if (!pattern.empty() && pattern.front() == '<') {
        pattern.erase(0, 1);
        condFunction = boost::make_shared<CondLess>(nocase);
        prefixed = true;
    }
    if (!pattern.empty() && pattern.front() == '>') {
        pattern.erase(0, 1);
        condFunction = boost::make_shared<CondGreater>(nocase);
        prefixed = true;
    }
    if (pattern.size() > 1 && StartsWithDash(pattern, 'd')) {
        pattern.erase(0, 2);
        condFunction = boost::make_shared<CondDirectory>();
        prefixed = true;
    }
    if (pattern.size() > 1 && StartsWithDash(pattern, 'f')) {
        pattern.erase(0, 2);
        condFunction = boost::make_shared<CondFile>();
        prefixed = true;
    }
    if (pattern.size() > 1 && StartsWithDash(pattern, 's')) {
        pattern.erase(0, 2);
        condFunction = boost::make_shared<CondFileWithSize>();
        return true;
    }
    if (prefixed || pattern.empty())
        return true;

    boost::shared_ptr<CondRegexp> regexp = boost::make_shared<CondRegexp>(pattern, nocase);
    condFunction = regexp;
    return regexp->Compile();
}

}}
