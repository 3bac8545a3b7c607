#pragma once
// What a rewrite of a file's Orvane sections must keep: how the directory level (which the sections
// belong to), the whole language (which the editor checks) and, where the text has virtual hosts,
// the site page's reading of a server file read the text; and whether a rewritten text reads alike.
#include <RewriteConfig/Htaccess.h>
#include <RewriteConfig/OrvaneSections.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace Orvane { namespace Quillon {

class ProxyRewriteCheck {
public:
    // Each logical line as the directory level reads it, and whether the whole language refused it.
    typedef std::function<void(const SectionLine& line, bool refusedByLanguage)> LineReader;

    // Reads the text (which must outlive the check) as the whole language, then as the directory
    // level, whose lines it hands to onLine.
    ProxyRewriteCheck(const std::string& text, const LineReader& onLine);

    // Whether the candidate reads as the text did but for the proxy settings, which are expected;
    // and whether its new section (its tags' lines starting at openingAt and closingAt) is read as
    // a section of the directory level.
    bool KeptBy(const std::string& candidate, std::size_t openingAt, std::size_t closingAt,
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
