#pragma once
// Parses a whole text into a container and returns only the error lines it produced.
#include <string>

#include "RewriteConfig/Htaccess.h"

inline std::string Parse(Orvane::Quillon::Htaccess& h, const std::string& text)
{
    std::string errors;
    h.ParseText(text, errors);
    return errors;
}
