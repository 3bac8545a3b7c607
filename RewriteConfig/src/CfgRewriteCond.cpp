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

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
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
            if (piece.find("nocase") != std::string::npos || piece.find("nc") != std::string::npos)
                nocase = 1;
            else if (piece.find("ornext") != std::string::npos || piece.find("or") != std::string::npos)
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
    if (pattern.size() > 1 && StartsWith(pattern, "-d")) {
        pattern.erase(0, 2);
        condFunction = boost::make_shared<CondDirectory>();
        prefixed = true;
    }
    if (pattern.size() > 1 && StartsWith(pattern, "-f")) {
        pattern.erase(0, 2);
        condFunction = boost::make_shared<CondFile>();
        prefixed = true;
    }
    if (pattern.size() > 1 && StartsWith(pattern, "-s")) {
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
