#include "ProxyRewriteCheck.h"

#include <algorithm>
#include <functional>
#include <iterator>

#include <RewriteConfig/ModelDescription.h>
#include <RewriteConfig/QuillonConfig.h>
#include <RewriteConfig/TextFunctions.h>

namespace Orvane { namespace Quillon {

namespace {

using Reading = ProxyRewriteCheck::Reading;

// Reads the text into a container; with a reading to match, the model is only held against it (and
// the returned reading holds no description). An Orvane section left open at the end holds nothing,
// so the entries it leaves on the section-kind stack are not part of the model.
template <class Container>
Reading ReadAs(const std::string& text, const std::function<void(const SectionLine&)>& alsoOnLine,
               const Reading* match = nullptr, bool* matched = nullptr)
{
    Reading reading;
    Container container;
    ReadOrvaneSections(container, text, [&](const SectionLine& line) {
        if (!line.accepted)
            reading.refused.push_back(line.line.text);
        alsoOnLine(line);
    });
    std::sort(reading.refused.begin(), reading.refused.end());
    reading.settings = container.proxySettings;
    container.proxySettings = ProxySettings();
    std::vector<std::int32_t>& kinds = container.sectionKinds;
    kinds.erase(std::remove(kinds.begin(), kinds.end(), std::int32_t{Htaccess::OrvaneSection}), kinds.end());
    if (match) {
        *matched = MatchesDescription(container, match->model);
    } else {
        reading.model = DescribeModel(container);
    }
    return reading;
}

bool SameSettings(const ProxySettings& a, const ProxySettings& b)
{
    return a.connectTimeout == b.connectTimeout && a.receiveTimeout == b.receiveTimeout &&
           a.sendTimeout == b.sendTimeout && a.suppressErrors == b.suppressErrors;
}

// The tags of virtual hosts are where the site page's reading of a server file (which does not know
// them) and the whole language's part. A tag line that holds the name anywhere may be one; one that
// is not ("<Files virtualhost.txt>") only adds the page's reading to the check. Every tag line is
// asked, so the name is compared in ASCII rather than through the locale.
bool MayBeVirtualHostTag(const std::string& line)
{
    static const char kName[] = "virtualhost";
    if (line.empty() || line[0] != '<')
        return false;
    const auto at = std::search(line.begin(), line.end(), std::begin(kName), std::end(kName) - 1,
                                [](char a, char b) { return LowerAscii(a) == b; });
    return at != line.end();
}

// Whether the candidate reads as before with this reader, but for the expected proxy settings.
template <class Container>
bool Keeps(const Reading& before, const std::string& candidate, const ProxySettings& expected,
           const std::function<void(const SectionLine&)>& alsoOnLine)
{
    bool sameModel = false;
    const Reading after = ReadAs<Container>(candidate, alsoOnLine, &before, &sameModel);
    return sameModel && SameSettings(after.settings, expected) && after.refused == before.refused;
}

}

ProxyRewriteCheck::ProxyRewriteCheck(const std::string& text, const LineReader& onLine) : text_(text)
{
    // Both read the same logical lines, in the same order: one bit a line carries the verdicts over.
    std::vector<bool> refusedByLanguage;
    language_ = ReadAs<QuillonConfig>(text, [&](const SectionLine& line) {
        hasVirtualHosts_ = hasVirtualHosts_ || MayBeVirtualHostTag(line.line.text);
        refusedByLanguage.push_back(!line.accepted);
    });
    std::size_t number = 0;
    directoryLevel_ = ReadAs<Htaccess>(text, [&](const SectionLine& line) {
        onLine(line, number < refusedByLanguage.size() && refusedByLanguage[number]);
        ++number;
    });
}

bool ProxyRewriteCheck::KeptBy(const std::string& candidate, std::size_t openingAt, std::size_t closingAt,
                               const ProxySettings& expected)
{
    bool opened = false;
    bool closed = false;
    auto findSection = [&](const SectionLine& line) {
        opened = opened || (line.place == SectionLine::Opening && line.line.begin == openingAt);
        closed = closed || (line.place == SectionLine::Closing && line.line.begin == closingAt);
    };
    if (!Keeps<Htaccess>(directoryLevel_, candidate, expected, findSection) || !opened || !closed)
        return false;
    bool hasVirtualHosts = hasVirtualHosts_;
    auto findHosts = [&hasVirtualHosts](const SectionLine& line) {
        hasVirtualHosts = hasVirtualHosts || MayBeVirtualHostTag(line.line.text);
    };
    if (!Keeps<QuillonConfig>(language_, candidate, expected, findHosts))
        return false;
    if (!hasVirtualHosts)
        return true;
    if (!page_)
        page_ = ReadAs<QuillpageConfig>(text_, [](const SectionLine&) {});
    return Keeps<QuillpageConfig>(*page_, candidate, expected, [](const SectionLine&) {});
}

}}
