#include "RewriteConfig/OrvaneSections.h"

#include "ParseDriver.h"

namespace Orvane { namespace Quillon {

namespace {

// Values that no settings line can give: time-outs are never negative, the switch is 0 or 1.
constexpr std::int32_t kUnset = -1;

// Puts back the kept value where the line gave none; true when it gave this one.
bool KeepUnlessSet(std::int32_t& value, std::int32_t kept)
{
    if (value != kUnset)
        return true;
    value = kept;
    return false;
}

}

void ReadOrvaneSections(Htaccess& container, const std::string& text,
                        const std::function<void(const SectionLine&)>& onLine)
{
    Detail::ParseLogicalLines(container, text, [&container, &onLine](const LogicalLine& line) {
        const bool insideBefore = container.CurrentSectionKind() == Htaccess::OrvaneSection;
        bool setting = false;
        bool accepted = false;
        if (insideBefore) {
            // The settings rows of the container's own table are the only writers of its proxy
            // settings, and only inside its section: a line is a setting when it wrote one.
            ProxySettings& settings = container.proxySettings;
            const ProxySettings kept = settings;
            settings.connectTimeout = settings.receiveTimeout = settings.sendTimeout = settings.suppressErrors = kUnset;
            try {
                accepted = container.ParseLine(line.text);
            } catch (...) {
                settings = kept;
                throw;
            }
            setting = KeepUnlessSet(settings.connectTimeout, kept.connectTimeout);
            setting = KeepUnlessSet(settings.receiveTimeout, kept.receiveTimeout) || setting;
            setting = KeepUnlessSet(settings.sendTimeout, kept.sendTimeout) || setting;
            setting = KeepUnlessSet(settings.suppressErrors, kept.suppressErrors) || setting;
        } else {
            accepted = container.ParseLine(line.text);
        }
        const bool insideAfter = container.CurrentSectionKind() == Htaccess::OrvaneSection;
        SectionLine::Place place = SectionLine::Outside;
        if (!insideBefore)
            place = insideAfter ? SectionLine::Opening : SectionLine::Outside;
        else if (!insideAfter)
            place = SectionLine::Closing;
        else
            place = setting ? SectionLine::Setting : SectionLine::Inside;
        onLine(SectionLine{line, accepted, place});
    });
}

}}
