#pragma once
// The parse driver's own steps around the logical lines of a text, shared by Htaccess::ParseText and
// the reading of the Orvane sections: one more outside kind on the section-kind stack, and the
// count of logical lines that the error lines name.
#include <cstdint>
#include <string>

#include "RewriteConfig/Htaccess.h"
#include "RewriteConfig/LogicalLines.h"

namespace Orvane { namespace Quillon { namespace Detail {

// Calls onLine(const LogicalLine&) for each logical line, with lineNumber counting them.
template <typename OnLine>
void ParseLogicalLines(Htaccess& container, const std::string& text, OnLine onLine)
{
    container.sectionKinds.push_back(Htaccess::OutsideSections);
    container.lineNumber = 0;
    LogicalLines lines(text);
    while (const LogicalLine* line = lines.Next()) {
        if (container.lineNumber < INT32_MAX)
            ++container.lineNumber;
        onLine(*line);
    }
}

}}}
