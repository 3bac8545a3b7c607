#pragma once
// What a rewrite of a file's Orvane sections must keep: how the directory level (which the sections
// belong to), the whole language (which the editor checks) and, where the text has virtual hosts,
// the site page's reading of a server file read the text; and whether a rewritten text reads alike.
#include <RewriteConfig/Htaccess.h>
#include <RewriteConfig/OrvaneSections.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Orvane { namespace Quillon {

// A line of one of the directory level's Orvane sections, with its bytes in the text.
struct ProxySectionLine {
    SectionLine::Place place;
    std::size_t number;  // counted from 1, as the parser counts logical lines
    std::size_t begin, end, next;
    // Tags: the opening tag's "<", the end of the closing tag's ">", and the "#" of the comment that
    // follows the tag (npos when there is none).
    std::size_t tagStart = 0, tagEnd = 0, comment = std::string::npos;
    // Inside lines: whether the line may move into the new section without changing what any reader
    // makes of it: a blank line or a comment, which no reader keeps anything of, or a line that the
    // directory level and the whole language both refuse.
    bool movable = false;
    bool refusedHere = false;
    bool blank = false;
};

// A section: its lines' range in the list, and whether it is cut out (its lines all may move) or
// stays where it is without its settings.
struct ProxySectionExtent {
    std::size_t first, last;  // last: the closing tag, or the last line of a section left open
    bool closed;
    bool cut;
};

// The lines of the directory level's sections, as its parser reads the text.
struct ProxySections {
    std::vector<ProxySectionLine> lines;
    std::vector<ProxySectionExtent> sections;
};

class ProxyRewriteCheck {
public:
    // Reads the text (which must outlive the check) and finds the directory level's sections in it,
    // with which of them may be cut out.
    ProxyRewriteCheck(const std::string& text, ProxySections& sections);

    // Whether the candidate reads as the text did but for the proxy settings, which are expected;
    // and whether its new section (of sectionSize bytes at sectionAt) is read as a section of the
    // directory level.
    bool KeptBy(const std::string& candidate, std::size_t sectionAt, std::size_t sectionSize,
                const ProxySettings& expected);

    // How one reader reads a text: the description of its model (proxy settings aside), the texts
    // of the lines it refused, sorted, and its proxy settings.
    struct Reading {
        std::string model;
        std::vector<std::string> refused;
        ProxySettings settings;
    };

private:
    const std::string& text_;
    Reading directoryLevel_;
    Reading language_;
    std::optional<Reading> page_;
    bool hasVirtualHosts_ = false;
};

}}
