#include "RewriteConfig/Htaccess.h"

#include <climits>
#include <utility>

#include <boost/make_shared.hpp>

#include "DirectiveTables.h"
#include "Sections.h"
#include "Messages.h"
#include "RewriteConfig/Platform.h"
#include "RewriteConfig/TextFunctions.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

namespace Detail {

boost::shared_ptr<DirectoryLevel> OpenRegexSection(std::string path)
{
    boost::shared_ptr<DirectoryLevel> section = boost::make_shared<DirectoryLevel>();
    if (!section->SetPath(TrimUnquote(path)))
        section.reset();
    return section;
}


// Directory-level expressions, in the order in which Htaccess::ParseLine tries them, each with a
// keyword that every whole-line match contains.
enum DirectoryExpression {
    ExprBlank, ExprComment, ExprFilesMatchOpen, ExprFilesOpen, ExprFilesMatchClose, ExprFilesClose,
    ExprOrvaneOpen, ExprOrvaneClose, ExprProxyConnectTimeout, ExprProxyReceiveTimeout,
    ExprProxySendTimeout, ExprProxySuppressErrors, ExprRepeatLimit, ExprAllowOverride,
    ExprRewriteEngine, ExprRewriteOptions, ExprRewriteMap, ExprRewriteBase, ExprRewriteCond,
    ExprRewriteRule, ExprRewriteHeader, ExprRewriteProxy, ExprRewriteCompatibility2,
    ExprRedirectHanler, ExprDirectoryExpressionCount
};

const LineExpression kDirectoryExpressions[] = {
    {"\\s*", nullptr},
    {"\\s*#(.*)", "#"},
    {"<\\s*(?:FilesMatch|Files\\s+~)\\s+([^>]+)\\s*>\\s*(?:#.*)?", "files"},
    {"<\\s*Files\\s+([^>]+)\\s*>\\s*(?:#.*)?", "files"},
    {"<\\s*/(FilesMatch|Files)\\s*>\\s*(?:#.*)?", "/files"},
    {"<\\s*/Files\\s*>\\s*(?:#.*)?", "/files"},
    {"<\\s*Orvane\\s*>\\s*(?:#.*)?", "orvane"},
    {"<\\s*/Orvane\\s*>\\s*(?:#.*)?", "/orvane"},
    {"\\s*ProxyConnectTimeout\\s+(\\d+)\\s*(?:#.*)?", "proxyconnecttimeout"},
    {"\\s*ProxyReceiveTimeout\\s+(\\d+)\\s*(?:#.*)?", "proxyreceivetimeout"},
    {"\\s*ProxySendTimeout\\s+(\\d+)\\s*(?:#.*)?", "proxysendtimeout"},
    {"\\s*ProxySuppressErrors\\s+(On|Off)\\s*(?:#.*)?", "proxysuppresserrors"},
    {"\\s*RepeatLimit\\s+(\\d+)\\s*(?:#.*)?", "repeatlimit"},
    {"\\s*AllowOverride\\s+(All|None|AuthConfig|FileInfo|Indexes|Limit|Options)\\s*(?:#.*)?", "allowoverride"},
    {"\\s*RewriteEngine\\s+(On|Off)\\s*(?:#.*)?", "rewriteengine"},
    {"\\s*RewriteOptions\\s+(inherit)?\\s*(?:#.*)?", "rewriteoptions"},
    {"\\s*RewriteMap\\s+(\\S+)\\s+([^#:]+)\\s*\\:\\s*([^#]+)\\s*(?:#.*)?", "rewritemap"},
    {"\\s*RewriteBase\\s*(\\S*)\\s*(?:#.*)?", "rewritebase"},
    {"\\s*RewriteCond\\s+(\\S+)\\s*(\\S+)\\s*(\\[[^\\]]+\\])?\\s*(#.*)?", "rewritecond"},
    {"\\s*RewriteRule\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?", "rewriterule"},
    {"\\s*RewriteHeader\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?", "rewriteheader"},
    {"\\s*RewriteProxy\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?", "rewriteproxy"},
    {"\\s*RewriteCompatibility2\\s+(On|Off)\\s*(?:#.*)?", "rewritecompatibility2"},
    {"\\s*RedirectHanler\\s+(Internal|External)\\s*(?:#.*)?", "redirecthanler"},
};
const std::size_t kDirectoryExpressionCount = sizeof(kDirectoryExpressions) / sizeof(kDirectoryExpressions[0]);
static_assert(sizeof(kDirectoryExpressions) / sizeof(kDirectoryExpressions[0]) == ExprDirectoryExpressionCount,
              "one expression per directive");

// The separator between physical lines; group 1 ignored.
const boost::regex kLineSeparator("(\\r)?\\n", kNoCase);

namespace {

// Hands out the physical lines of a text one after the other. A match of kLineSeparator is found
// directly: every match holds a line feed, and it begins at the carriage return right before it.
class PhysicalLines {
public:
    explicit PhysicalLines(const std::string& text) : text_(text) {}

    bool Next(std::string& line)
    {
        if (position_ == text_.size())
            return false;
        const std::string::size_type feed = text_.find('\n', position_);
        if (feed == std::string::npos) {
            line.assign(text_, position_, std::string::npos);
            position_ = text_.size();
            return true;
        }
        const std::string::size_type end = (feed > position_ && text_[feed - 1] == '\r') ? feed - 1 : feed;
        line.assign(text_, position_, end - position_);
        position_ = feed + 1;
        return true;
    }

    bool HasMore() const { return position_ != text_.size(); }

private:
    const std::string& text_;
    std::string::size_type position_ = 0;
};

// A backslash-escaped blank reaches the expressions as "\x20", text without white space. The line is
// written to escaped, a buffer kept from line to line.
void EscapeBlanks(const std::string& line, std::string& escaped)
{
    escaped.clear();
    for (std::string::size_type i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == ' ') {
            escaped.append("\\x20");
            ++i;
        } else {
            escaped.push_back(line[i]);
        }
    }
}

std::wstring FolderOf(const std::wstring& fileName)
{
    const std::wstring::size_type slash = fileName.rfind(L'\\');
    return slash == std::wstring::npos ? fileName : fileName.substr(0, slash);
}

}

}

using namespace Detail;

Htaccess::Htaccess(const std::wstring& name)
    : rewriteEngine(1), repeatLimit(200), fileName(name), fileDirectory(FolderOf(name)), allowOverride(All),
      inheritOptions(0), rewriteCompatibility2(0), redirectHandlerInternal(1), lineNumber(0),
      pendingRule(boost::make_shared<CfgRewriteRule>())
{
    sectionKinds.push_back(OutsideSections);
}

Htaccess::~Htaccess() = default;

std::int32_t Htaccess::CurrentSectionKind() const
{
    return sectionKinds.empty() ? OutsideSections : sectionKinds.back();
}

bool Htaccess::ParseText(const std::string& text, std::string& errors)
{
    sectionKinds.push_back(OutsideSections);
    lineNumber = 0;
    PhysicalLines lines(text);
    std::string line;
    std::string further;
    std::string escaped;
    while (lines.Next(line)) {
        if (lineNumber < INT32_MAX)
            ++lineNumber;
        // Each pass removes one final backslash and appends the next physical line unchanged; once the
        // last physical line has been appended, a further final backslash stays.
        bool exhausted = false;
        while (!exhausted && !line.empty() && line.back() == '\\') {
            line.pop_back();
            if (!lines.Next(further))
                break;
            line.append(further);
            exhausted = !lines.HasMore();
        }
        TrimSpace(line);
        // Most lines have no escaped blank and are read as they stand.
        const std::string* logicalLine = &line;
        if (line.find("\\ ") != std::string::npos) {
            EscapeBlanks(line, escaped);
            logicalLine = &escaped;
        }
        const std::string& logical = *logicalLine;
        if (!ParseLine(logical)) {
            errors.append(kUnknownExpression).append(IntToString(lineNumber)).append(": ");
            errors.append(logical).append(kLineEnd);
        }
    }
    return true;
}

bool Htaccess::SetPath(const std::string& newPath)
{
    std::string lowered(newPath);
    LowerCase(lowered);
    TrimUnquote(lowered);
    path = lowered;
    try {
        boost::regex compiled(lowered, kNoCase);
        pathRegex.swap(compiled);
        return true;
    } catch (...) {
        return false;
    }
}

bool Htaccess::ParseLine(const std::string& line)
{
    if (line.empty())
        return true;
    const LineText text(line);
    const LineExpression* const e = kDirectoryExpressions;
    Captures m;

    if (e[ExprBlank].Match(text, m) || e[ExprComment].Match(text, m))
        return true;

    if (e[ExprFilesMatchOpen].Match(text, m)) {
        openFilesSection = OpenRegexSection(m[1].str());
        return openFilesSection != nullptr;
    }
    if (e[ExprFilesOpen].Match(text, m)) {
        openFilesSection = boost::make_shared<DirectoryLevel>();
        std::string sectionPath = m[1].str();
        openFilesSection->SetPath(WildcardToRegex(TrimUnquote(sectionPath)));
        return true;
    }
    if (openFilesSection) {
        if (e[ExprFilesMatchClose].Match(text, m) || e[ExprFilesClose].Match(text, m)) {
            filesSections.push_back(openFilesSection);
            openFilesSection.reset();
            return true;
        }
        return openFilesSection->ParseLine(line);
    }

    if (e[ExprOrvaneOpen].Match(text, m)) {
        if (CurrentSectionKind() == OutsideSections)
            sectionKinds.push_back(OrvaneSection);
        return true;
    }
    if (e[ExprOrvaneClose].Match(text, m)) {
        if (CurrentSectionKind() == OrvaneSection)
            sectionKinds.pop_back();
        return true;
    }

    if (CurrentSectionKind() == OrvaneSection) {
        // Inside the Orvane section only the proxy settings are known; time-outs are written in seconds.
        if (e[ExprProxyConnectTimeout].Match(text, m)) {
            proxySettings.connectTimeout = SaturatedProduct(DecimalValue(m[1].str()), 1000);
            return true;
        }
        if (e[ExprProxyReceiveTimeout].Match(text, m)) {
            proxySettings.receiveTimeout = SaturatedProduct(DecimalValue(m[1].str()), 1000);
            return true;
        }
        if (e[ExprProxySendTimeout].Match(text, m)) {
            proxySettings.sendTimeout = SaturatedProduct(DecimalValue(m[1].str()), 1000);
            return true;
        }
        if (e[ExprProxySuppressErrors].Match(text, m)) {
            proxySettings.suppressErrors = EqualsNoCase(m[1].str(), "on") ? 1 : 0;
            return true;
        }
        return false;
    }

    if (e[ExprRepeatLimit].Match(text, m)) {
        repeatLimit = DecimalValue(m[1].str());
        return true;
    }
    if (e[ExprAllowOverride].Match(text, m)) {
        static const struct {
            const char* word;
            std::int32_t value;
        } overrides[] = {
            {"AuthConfig", AuthConfig}, {"FileInfo", FileInfo}, {"Indexes", Indexes}, {"Limit", Limit},
            {"Options", Options},       {"All", All},           {"None", None},
        };
        for (const auto& entry : overrides) {
            if (EqualsNoCase(m[1].str(), entry.word)) {
                allowOverride = entry.value;
                break;
            }
        }
        return true;
    }
    if (e[ExprRewriteEngine].Match(text, m)) {
        rewriteEngine = EqualsNoCase(m[1].str(), "on") ? 1 : 0;
        return true;
    }
    if (e[ExprRewriteOptions].Match(text, m)) {
        inheritOptions = EqualsNoCase(m[1].str(), "inherit") ? 1 : 0;
        return true;
    }
    if (e[ExprRewriteMap].Match(text, m)) {
        CfgRewriteMap map;
        map.name = m[1].str();
        std::string type = m[2].str();
        LowerCase(type);
        if (type == "txt" || type == "rnd") {
            map.type = type == "txt" ? CfgRewriteMap::Txt : CfgRewriteMap::Rnd;
            map.source = Platform::AnsiToWide(m[3].str());
            LowerCase(TrimUnquote(map.source));
        } else if (type == "int") {
            map.type = CfgRewriteMap::Int;
            map.source = Platform::AnsiToWide(m[3].str());
        }
        rewriteMaps.push_back(map);
        return true;
    }
    if (e[ExprRewriteBase].Match(text, m)) {
        rewriteBase = m[1].str();
        TrimSpace(rewriteBase);
        if (rewriteBase.empty())
            rewriteBase = "\"\"";
        return true;
    }
    if (e[ExprRewriteCond].Match(text, m)) {
        CfgRewriteCond condition;
        condition.testString = m[1].str();
        condition.pattern = m[2].str();
        condition.flagsText = m[3].str();
        if (!condition.Parse())
            return false;
        // What AddCondition does, without the copy.
        pendingRule->conditions.push_back(std::move(condition));
        return true;
    }
    if (e[ExprRewriteRule].Match(text, m)) {
        // A rule that does not compile stays pending, with its conditions, for the next rule line.
        pendingRule->pattern = m[1].str();
        pendingRule->substitution = m[2].str();
        pendingRule->flagsText = m[3].str();
        pendingRule->O = rewriteCompatibility2 == 0 ? 1 : 0;
        std::string compileErrors;
        if (!pendingRule->Compile(compileErrors))
            return false;
        rules.push_back(pendingRule);
        pendingRule = boost::make_shared<CfgRewriteRule>();
        return true;
    }
    if (e[ExprRewriteHeader].Match(text, m)) {
        boost::shared_ptr<CfgRewriteHeader> header = boost::make_shared<CfgRewriteHeader>();
        header->headerName = m[1].str();
        header->pattern = m[2].str();
        header->substitution = m[3].str();
        header->flagsText = m[4].str();
        header->conditions = pendingRule->conditions;
        std::string compileErrors;
        if (!header->Compile(compileErrors))
            return false;
        rules.push_back(header);
        pendingRule = boost::make_shared<CfgRewriteRule>();
        return true;
    }
    if (e[ExprRewriteProxy].Match(text, m)) {
        boost::shared_ptr<CfgRewriteProxy> proxy = boost::make_shared<CfgRewriteProxy>();
        proxy->pattern = m[1].str();
        proxy->substitution = m[2].str();
        proxy->flagsText = m[3].str();
        proxy->conditions = pendingRule->conditions;
        std::string compileErrors;
        if (!proxy->Compile(compileErrors))
            return false;
        rules.push_back(proxy);
        pendingRule = boost::make_shared<CfgRewriteRule>();
        return true;
    }
    if (e[ExprRewriteCompatibility2].Match(text, m)) {
        rewriteCompatibility2 = EqualsNoCase(m[1].str(), "on") ? 1 : 0;
        return true;
    }
    if (e[ExprRedirectHanler].Match(text, m)) {
        redirectHandlerInternal = EqualsNoCase(m[1].str(), "external") ? 0 : 1;
        return true;
    }
    return false;
}

DirectoryLevel::DirectoryLevel(const std::wstring& name) : Htaccess(name) {}

DirectoryLevel::~DirectoryLevel() = default;

}}
