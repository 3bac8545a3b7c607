#include "OldText.h"

#include <boost/algorithm/string/case_conv.hpp>
#include <boost/algorithm/string/trim.hpp>

namespace Orvane { namespace Quillshift {

const char* const kLineEnd = "\r\n";

std::vector<std::string> SplitFlagList(std::string& flagsText)
{
    boost::algorithm::to_lower(flagsText);
    boost::algorithm::trim(flagsText);
    std::vector<std::string> pieces;
    if (flagsText.empty())
        return pieces;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t comma = flagsText.find(',', begin);
        std::string piece = flagsText.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
        boost::algorithm::trim(piece);
        pieces.push_back(piece);
        if (comma == std::string::npos)
            break;
        begin = comma + 1;
    }
    return pieces;
}

}}
