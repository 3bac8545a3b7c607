#pragma once
// Where a configuration text holds the Orvane sections (the proxy settings) of the container that
// reads it, line by line, as its own parser reads them: so that a program that rewrites the
// settings cuts what the parser takes for the section, and nothing else.
#include <functional>
#include <string>

#include "RewriteConfig/Htaccess.h"
#include "RewriteConfig/LogicalLines.h"

namespace Orvane { namespace Quillon {

struct SectionLine {
    // Where the line stands with respect to the container's own Orvane sections. A section runs
    // from the line that opens it to the line that closes it, or to the end of the text; a setting
    // is a line inside it that set one of the container's proxy settings. Lines that the container
    // hands to a section of its own (a Files section, a virtual host) are never settings, and their
    // sections are not the container's.
    enum Place { Outside, Opening, Inside, Setting, Closing };

    const LogicalLine& line;  // the reader's own: it changes with the next line
    bool accepted;
    Place place;
};

// Parses the text into the container as Htaccess::ParseText does, without the error text, and hands
// each logical line, in order, to onLine with where it stands. The container's proxy settings are
// those that the text gives, as after ParseText.
void ReadOrvaneSections(Htaccess& container, const std::string& text,
                        const std::function<void(const SectionLine&)>& onLine);

}}
