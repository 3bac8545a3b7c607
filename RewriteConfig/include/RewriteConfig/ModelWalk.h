#pragma once
// Every field of a configuration as its parse built it, each named once, in one walk. The model's
// description and its match (ModelDescription.h) and the tests' readable text of a model all come
// from this walk, so that a field added here reaches all of them, and a test that reads a sample
// line of every directive, and one of every flag, finds a field that is missing here.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

#include <boost/regex.hpp>
#include <boost/shared_ptr.hpp>

#include "RewriteConfig/QuillonConfig.h"

namespace Orvane { namespace Quillon {

// The classes of the objects a model holds. An object of a class the walk does not know is Unknown;
// the walk then gives the name the compiler has for its class.
enum class ModelKind : std::int32_t {
    Unknown = -1,
    // Containers.
    DirectoryFile, Section, VirtualHost, Server, PageServer,
    // Rules.
    Rule, HeaderRule, ProxyRule,
    // Condition tests.
    RegexpTest, EqualTest, LessTest, GreaterTest, DirectoryTest, FileTest, FileWithSizeTest,
};

struct ModelClass {
    ModelKind kind;
    const char* name;
    const std::type_info& type;
};

// The known classes of each family, the most frequent first.
inline const ModelClass kContainerClasses[] = {
    {ModelKind::DirectoryFile, "directory file", typeid(Htaccess)},
    {ModelKind::Section, "section", typeid(DirectoryLevel)},
    {ModelKind::VirtualHost, "virtual host", typeid(VirtualHostHtaccess)},
    {ModelKind::Server, "server", typeid(QuillonConfig)},
    {ModelKind::PageServer, "page's server", typeid(QuillpageConfig)},
};
inline const ModelClass kRuleClasses[] = {
    {ModelKind::Rule, "rule", typeid(CfgRewriteRule)},
    {ModelKind::HeaderRule, "header rule", typeid(CfgRewriteHeader)},
    {ModelKind::ProxyRule, "proxy rule", typeid(CfgRewriteProxy)},
};
inline const ModelClass kTestClasses[] = {
    {ModelKind::RegexpTest, "regexp", typeid(CondRegexp)},
    {ModelKind::EqualTest, "equal", typeid(CondEqual)},
    {ModelKind::LessTest, "less", typeid(CondLess)},
    {ModelKind::GreaterTest, "greater", typeid(CondGreater)},
    {ModelKind::DirectoryTest, "directory", typeid(CondDirectory)},
    {ModelKind::FileTest, "file", typeid(CondFile)},
    {ModelKind::FileWithSizeTest, "file with size", typeid(CondFileWithSize)},
};

// A switch of a rule or a condition: 0 or 1 once parsed.
struct ModelFlag {
    const char* name;
    unsigned char value;
};

// How a list entry refers to a virtual host: none, one not walked before (walked there), or the
// same object as an earlier entry (then its number, counting the hosts in the order walked).
enum class HostReference : std::int32_t { None, First, Earlier };

// Walks the container and all it holds, in a fixed order, calling on the visitor:
//   Kind(ModelKind, const char* name)       the class of the object whose fields follow
//   Number(const char* name, std::int64_t)  a number, a switch, the size of a list, a presence
//   Text(const char* name, const std::string&) and Text(const char* name, const std::wstring&)
//   Expression(const char* name, const boost::regex&, const std::string& source)
//                                           a compiled expression, and the text it is compiled from
//   Flags(std::initializer_list<ModelFlag>) the switches of a rule or a condition
//   Begin(const char* name), End()          around each object held by another
//   Differs()                               whether the rest of the walk can be left out
// Only the parse's count of lines (Htaccess::lineNumber) is left out: it tells where lines stood,
// not what they mean. A virtual host that several names share is walked once, where it first
// stands.
template <class Visitor>
class ModelWalk {
public:
    explicit ModelWalk(Visitor& visitor) : v_(visitor) {}

    void Container(const Htaccess& h)
    {
        const ModelKind kind = Kind(typeid(h), kContainerClasses);
        DirectoryFields(h);
        if (v_.Differs())
            return;
        switch (kind) {
        case ModelKind::VirtualHost:
            VirtualHostFields(static_cast<const VirtualHostHtaccess&>(h));
            break;
        case ModelKind::Server:
        case ModelKind::PageServer:
            VirtualHostFields(static_cast<const QuillonConfig&>(h));
            ServerFields(static_cast<const QuillonConfig&>(h));
            break;
        default:
            break;
        }
    }

private:
    template <std::size_t N>
    ModelKind Kind(const std::type_info& type, const ModelClass (&known)[N])
    {
        for (const ModelClass& k : known) {
            if (type == k.type) {
                v_.Kind(k.kind, k.name);
                return k.kind;
            }
        }
        v_.Kind(ModelKind::Unknown, type.name());
        return ModelKind::Unknown;
    }

    void DirectoryFields(const Htaccess& h)
    {
        v_.Text("path", h.path);
        v_.Expression("path regex", h.pathRegex, h.path);
        v_.Number("rewrite engine", h.rewriteEngine);
        v_.Text("rewrite base", h.rewriteBase);
        v_.Number("repeat limit", h.repeatLimit);
        v_.Text("file name", h.fileName);
        v_.Text("file directory", h.fileDirectory);
        v_.Number("allow override", h.allowOverride);
        v_.Number("inherit options", h.inheritOptions);
        v_.Number("connect timeout", h.proxySettings.connectTimeout);
        v_.Number("receive timeout", h.proxySettings.receiveTimeout);
        v_.Number("send timeout", h.proxySettings.sendTimeout);
        v_.Number("suppress errors", h.proxySettings.suppressErrors);
        v_.Number("rewrite compatibility 2", h.rewriteCompatibility2);
        v_.Number("redirect handler internal", h.redirectHandlerInternal);
        v_.Number("section kinds", static_cast<std::int64_t>(h.sectionKinds.size()));
        for (std::int32_t kind : h.sectionKinds)
            v_.Number("section kind", kind);
        v_.Number("rewrite maps", static_cast<std::int64_t>(h.rewriteMaps.size()));
        for (const CfgRewriteMap& map : h.rewriteMaps) {
            v_.Begin("rewrite map");
            v_.Text("name", map.name);
            v_.Number("type", map.type);
            v_.Text("source", map.source);
            v_.End();
        }
        // A comparison ends at the first rule that differs.
        v_.Number("rules", static_cast<std::int64_t>(h.rules.size()));
        for (const boost::shared_ptr<CfgRewriteRule>& rule : h.rules) {
            if (v_.Differs())
                return;
            Rule("rule", *rule);
        }
        v_.Number("pending rule", h.pendingRule ? 1 : 0);
        if (h.pendingRule)
            Rule("pending rule", *h.pendingRule);
        Sections("files sections", h.filesSections);
        Section("open files section", h.openFilesSection);
    }

    void Rule(const char* name, const CfgRewriteRule& r)
    {
        v_.Begin(name);
        const ModelKind kind = Kind(typeid(r), kRuleClasses);
        v_.Number("conditions", static_cast<std::int64_t>(r.conditions.size()));
        for (const CfgRewriteCond& c : r.conditions)
            Condition(c);
        v_.Text("pattern", r.pattern);
        v_.Text("substitution", r.substitution);
        v_.Text("flags text", r.flagsText);
        v_.Number("redirect code", r.redirectCode);
        v_.Number("skip count", r.skipCount);
        v_.Number("cookie lifetime", r.cookieLifetime);
        v_.Flags({{"negate", r.negate}, {"forbidden", r.forbidden}, {"gone", r.gone}, {"proxy", r.proxy},
                  {"last", r.last}, {"next", r.next}, {"chain", r.chain}, {"nocase", r.nocase},
                  {"qsappend", r.qsappend}, {"noescape", r.noescape}, {"loop", r.loop}, {"U", r.U}, {"O", r.O},
                  {"CL", r.CL}, {"CU", r.CU}, {"${", r.hasDollarBraceReference},
                  {"%{HTTP:", r.hasHttpHeaderReference}, {"%{", r.hasPercentBraceReference}});
        v_.Text("cookie name", r.cookieName);
        v_.Text("cookie value", r.cookieValue);
        v_.Text("cookie domain", r.cookieDomain);
        v_.Text("cookie path", r.cookiePath);
        v_.Text("mime type", r.mimeType);
        v_.Expression("regex", r.regex, r.pattern);
        switch (kind) {
        case ModelKind::HeaderRule:
            v_.Text("header name", static_cast<const CfgRewriteHeader&>(r).headerName);
            break;
        case ModelKind::ProxyRule:
            v_.Number("proxy flags", static_cast<const CfgRewriteProxy&>(r).proxyFlags);
            break;
        default:
            break;
        }
        v_.End();
    }

    void Condition(const CfgRewriteCond& c)
    {
        v_.Begin("condition");
        v_.Text("test string", c.testString);
        v_.Text("pattern", c.pattern);
        v_.Text("flags text", c.flagsText);
        v_.Flags({{"negate", c.negate}, {"nocase", c.nocase}, {"ornext", c.ornext}, {"${", c.hasDollarBraceReference},
                  {"%{HTTP:", c.hasHttpHeaderReference}, {"%{", c.hasPercentBraceReference}, {"O", c.O}});
        const ICondFunction* test = c.condFunction.get();
        v_.Number("test", test ? 1 : 0);
        if (test)
            Test(*test);
        v_.End();
    }

    void Test(const ICondFunction& test)
    {
        v_.Begin("test");
        switch (Kind(typeid(test), kTestClasses)) {
        case ModelKind::RegexpTest: {
            const CondRegexp& regexp = static_cast<const CondRegexp&>(test);
            v_.Expression("regex", regexp.regex, regexp.pattern);
            v_.Text("pattern", regexp.pattern);
            v_.Number("nocase", regexp.nocase);
            break;
        }
        case ModelKind::EqualTest:
            v_.Number("nocase", static_cast<const CondEqual&>(test).nocase);
            break;
        case ModelKind::LessTest:
            v_.Number("nocase", static_cast<const CondLess&>(test).nocase);
            break;
        case ModelKind::GreaterTest:
            v_.Number("nocase", static_cast<const CondGreater&>(test).nocase);
            break;
        default:
            // The file tests hold nothing but their kind.
            break;
        }
        v_.End();
    }

    void Section(const char* name, const boost::shared_ptr<DirectoryLevel>& section)
    {
        v_.Number(name, section ? 1 : 0);
        if (!section)
            return;
        v_.Begin(name);
        Container(*section);
        v_.End();
    }

    void Sections(const char* name, const std::vector<boost::shared_ptr<DirectoryLevel>>& sections)
    {
        v_.Number(name, static_cast<std::int64_t>(sections.size()));
        for (const boost::shared_ptr<DirectoryLevel>& section : sections)
            Section(name, section);
    }

    void VirtualHostFields(const VirtualHostHtaccess& v)
    {
        v_.Number("access file names", static_cast<std::int64_t>(v.accessFileNames.size()));
        for (const std::wstring& name : v.accessFileNames)
            v_.Text("access file name", name);
        v_.Text("rewrite log", v.rewriteLog);
        v_.Number("rewrite log level", v.rewriteLogLevel);
        Sections("directory sections", v.directorySections);
        Sections("directory match sections", v.directoryMatchSections);
        Sections("location sections", v.locationSections);
        Section("open section", v.openSection);
    }

    void ServerFields(const QuillonConfig& q)
    {
        v_.Number("notify order", q.notifyOrder);
        v_.Text("error log", q.errorLog);
        v_.Number("log level", q.logLevel);
        std::map<const VirtualHostHtaccess*, std::int64_t> walked;
        v_.Number("virtual hosts", static_cast<std::int64_t>(q.virtualHosts.size()));
        for (const auto& entry : q.virtualHosts) {
            v_.Text("host", entry.first.first);
            v_.Text("port", entry.first.second);
            Host("virtual host", entry.second, walked);
        }
        Host("open virtual host", q.openVirtualHost, walked);
    }

    void Host(const char* name, const boost::shared_ptr<VirtualHostHtaccess>& host,
              std::map<const VirtualHostHtaccess*, std::int64_t>& walked)
    {
        if (!host) {
            v_.Number(name, static_cast<std::int64_t>(HostReference::None));
            return;
        }
        const auto earlier = walked.find(host.get());
        if (earlier != walked.end()) {
            v_.Number(name, static_cast<std::int64_t>(HostReference::Earlier));
            v_.Number("same as host", earlier->second);
            return;
        }
        v_.Number(name, static_cast<std::int64_t>(HostReference::First));
        walked.emplace(host.get(), static_cast<std::int64_t>(walked.size()));
        v_.Begin(name);
        Container(*host);
        v_.End();
    }

    Visitor& v_;
};

}}
