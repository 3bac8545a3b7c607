#include "ReadingCheck.h"

#include <RewriteConfig/OrvaneSections.h>
#include <RewriteConfig/QuillonConfig.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <typeinfo>
#include <vector>

namespace Orvane { namespace Quillon { namespace Testing {

namespace {

std::string Narrow(const std::wstring& text)
{
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

class Dumper {
public:
    explicit Dumper(std::ostream& out) : out_(out) {}

    void Container(const Htaccess& h, bool top)
    {
        out_ << "{" << typeid(h).name() << " path '" << h.path << "' regex " << Regex(h.pathRegex) << " engine "
             << int(h.rewriteEngine) << " base '" << h.rewriteBase << "' repeat " << h.repeatLimit << " file '"
             << Narrow(h.fileName) << "' dir '" << Narrow(h.fileDirectory) << "' override " << h.allowOverride
             << " inherit " << int(h.inheritOptions) << " compat2 " << int(h.rewriteCompatibility2) << " redirect "
             << int(h.redirectHandlerInternal) << "\n";
        if (!top)
            out_ << " proxy " << h.proxySettings.connectTimeout << "/" << h.proxySettings.receiveTimeout << "/"
                 << h.proxySettings.sendTimeout << "/" << h.proxySettings.suppressErrors << "\n";
        out_ << " kinds";
        for (std::int32_t kind : h.sectionKinds)
            if (!top || kind != Htaccess::OrvaneSection)
                out_ << " " << kind;
        out_ << "\n";
        for (const CfgRewriteMap& map : h.rewriteMaps)
            out_ << " map '" << map.name << "' " << map.type << " '" << Narrow(map.source) << "'\n";
        for (const auto& rule : h.rules)
            Rule(" rule", *rule);
        Rule(" pending", *h.pendingRule);
        Sections(" files", h.filesSections);
        Section(" open files", h.openFilesSection);
        if (const VirtualHostHtaccess* v = dynamic_cast<const VirtualHostHtaccess*>(&h)) {
            out_ << " access";
            for (const std::wstring& name : v->accessFileNames)
                out_ << " '" << Narrow(name) << "'";
            out_ << "\n rewritelog '" << Narrow(v->rewriteLog) << "' " << v->rewriteLogLevel << "\n";
            Sections(" directory", v->directorySections);
            Sections(" directorymatch", v->directoryMatchSections);
            Sections(" location", v->locationSections);
            Section(" open section", v->openSection);
        }
        if (const QuillonConfig* q = dynamic_cast<const QuillonConfig*>(&h)) {
            out_ << " notify " << q->notifyOrder << " errorlog '" << Narrow(q->errorLog) << "' loglevel " << q->logLevel
                 << "\n";
            std::map<const VirtualHostHtaccess*, int> seen;
            auto host = [&](const char* label, const boost::shared_ptr<VirtualHostHtaccess>& v) {
                out_ << label;
                if (!v) {
                    out_ << " none\n";
                } else if (seen.count(v.get())) {
                    out_ << " as host " << seen[v.get()] << "\n";
                } else {
                    const int number = static_cast<int>(seen.size());
                    seen[v.get()] = number;
                    out_ << " host " << number << " ";
                    Container(*v, false);
                }
            };
            for (const auto& entry : q->virtualHosts)
                host((" vhost '" + entry.first.first + "':'" + entry.first.second + "'").c_str(), entry.second);
            host(" open vhost", q->openVirtualHost);
        }
        out_ << "}\n";
    }

private:
    static std::string Regex(const boost::regex& regex)
    {
        return regex.empty() ? "none" : "'" + regex.str() + "'/" + std::to_string(regex.flags());
    }

    void Rule(const char* label, const CfgRewriteRule& r)
    {
        out_ << label << " " << typeid(r).name() << " '" << r.pattern << "' '" << r.substitution << "' ['"
             << r.flagsText << "'] regex " << Regex(r.regex) << " R" << r.redirectCode << " S" << r.skipCount
             << " cookie '" << r.cookieName << "' '" << r.cookieValue << "' '" << r.cookieDomain << "' "
             << r.cookieLifetime << " '" << r.cookiePath << "' type '" << r.mimeType << "' flags";
        for (unsigned char flag : {r.negate, r.forbidden, r.gone, r.proxy, r.last, r.next, r.chain, r.nocase,
                                   r.qsappend, r.noescape, r.loop, r.U, r.O, r.CL, r.CU, r.hasDollarBraceReference,
                                   r.hasHttpHeaderReference, r.hasPercentBraceReference})
            out_ << " " << int(flag);
        if (const CfgRewriteHeader* header = dynamic_cast<const CfgRewriteHeader*>(&r))
            out_ << " header '" << header->headerName << "'";
        if (const CfgRewriteProxy* proxy = dynamic_cast<const CfgRewriteProxy*>(&r))
            out_ << " proxyflags " << proxy->proxyFlags;
        out_ << "\n";
        for (const CfgRewriteCond& c : r.conditions) {
            out_ << "  cond '" << c.testString << "' '" << c.pattern << "' '" << c.flagsText << "' flags";
            for (unsigned char flag : {c.negate, c.nocase, c.ornext, c.hasDollarBraceReference,
                                       c.hasHttpHeaderReference, c.hasPercentBraceReference, c.O})
                out_ << " " << int(flag);
            const ICondFunction* test = c.condFunction.get();
            out_ << " test " << (test ? typeid(*test).name() : "none");
            if (const CondRegexp* regexp = dynamic_cast<const CondRegexp*>(test))
                out_ << " " << Regex(regexp->regex) << " '" << regexp->pattern << "' " << int(regexp->nocase);
            if (const CondEqual* equal = dynamic_cast<const CondEqual*>(test))
                out_ << " nocase " << int(equal->nocase);
            if (const CondLess* less = dynamic_cast<const CondLess*>(test))
                out_ << " nocase " << int(less->nocase);
            if (const CondGreater* greater = dynamic_cast<const CondGreater*>(test))
                out_ << " nocase " << int(greater->nocase);
            out_ << "\n";
        }
    }

    void Section(const char* label, const boost::shared_ptr<DirectoryLevel>& section)
    {
        out_ << label;
        if (section)
            Container(*section, false);
        else
            out_ << " none\n";
    }

    void Sections(const char* label, const std::vector<boost::shared_ptr<DirectoryLevel>>& sections)
    {
        for (const auto& section : sections)
            Section(label, section);
    }

    std::ostream& out_;
};

std::string ParsedPart(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

// The refused lines' texts, sorted, from the parser's error text.
std::vector<std::string> Refused(const std::string& errors)
{
    std::vector<std::string> refused;
    std::size_t at = 0;
    while (at < errors.size()) {
        const std::size_t end = errors.find("\r\n", at);
        const std::string line = errors.substr(at, end - at);
        refused.push_back(line.substr(line.find(": ") + 2));
        at = end + 2;
    }
    std::sort(refused.begin(), refused.end());
    return refused;
}

template <class Container>
void ExpectSameReading(const char* reader, const std::string& before, const std::string& after,
                       const ProxySettings& settings)
{
    SCOPED_TRACE(reader);
    Container parsed0;
    Container parsed1;
    std::string errors0;
    std::string errors1;
    parsed0.ParseText(ParsedPart(before), errors0);
    parsed1.ParseText(ParsedPart(after), errors1);

    EXPECT_EQ(parsed1.proxySettings.connectTimeout, settings.connectTimeout);
    EXPECT_EQ(parsed1.proxySettings.receiveTimeout, settings.receiveTimeout);
    EXPECT_EQ(parsed1.proxySettings.sendTimeout, settings.sendTimeout);
    EXPECT_EQ(parsed1.proxySettings.suppressErrors, settings.suppressErrors);
    EXPECT_EQ(Refused(errors1), Refused(errors0));
    EXPECT_EQ(ModelText(parsed1), ModelText(parsed0));
}

// The bytes of the lines outside the sections stay, in their order; so does everything from the
// first NUL byte on.
void ExpectBytesKept(const std::string& before, const std::string& after)
{
    Htaccess reader;
    std::size_t from = 0;
    ReadOrvaneSections(reader, ParsedPart(before), [&](const SectionLine& line) {
        if (line.place != SectionLine::Outside || ::testing::Test::HasFailure())
            return;
        const std::string bytes = before.substr(line.line.begin, line.line.next - line.line.begin);
        const std::size_t found = after.find(bytes, from);
        ASSERT_NE(found, std::string::npos) << "lost: " << bytes;
        from = found + bytes.size();
    });
    const std::size_t nul = before.find('\0');
    if (nul != std::string::npos) {
        const std::string unread = before.substr(nul);
        const bool endsWithIt = after.size() >= unread.size() && after.size() - unread.size() >= from &&
                                after.compare(after.size() - unread.size(), std::string::npos, unread) == 0;
        EXPECT_TRUE(endsWithIt) << "what follows the NUL byte changed";
    }
}

}

std::string ModelText(const Htaccess& container)
{
    std::ostringstream out;
    Dumper(out).Container(container, true);
    return out.str();
}

void ExpectRewriteKeepsContract(const std::string& before, const std::string& after, const ProxySettings& settings)
{
    ExpectSameReading<Htaccess>("directory level", before, after, settings);
    ExpectSameReading<QuillonConfig>("whole language", before, after, settings);
    ExpectSameReading<QuillpageConfig>("site page's server file", before, after, settings);
    ExpectBytesKept(before, after);
}

}}}
