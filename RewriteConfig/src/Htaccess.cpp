#include "RewriteConfig/Htaccess.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#include <boost/make_shared.hpp>

#include "DirectiveTables.h"
#include "ParseDriver.h"
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


namespace {

// Where a directory-level row is tried. Once a Files section is open, every line that its tags do
// not close goes to it, so the rows after that one only see lines outside Files sections.
bool Anywhere(const Htaccess&)
{
    return true;
}

bool InFilesSection(const Htaccess& h)
{
    return h.openFilesSection != nullptr;
}

// Inside the Orvane section only the proxy settings are known.
bool InOrvaneSection(const Htaccess& h)
{
    return h.CurrentSectionKind() == Htaccess::OrvaneSection;
}

bool OutsideOrvaneSection(const Htaccess& h)
{
    return h.CurrentSectionKind() != Htaccess::OrvaneSection;
}

const Verdict Accept = Verdict::Accept;
const Verdict Refuse = Verdict::Refuse;

// The proxy time-outs are written in seconds and kept in milliseconds.
constexpr std::int32_t kMillisecondsPerSecond = 1000;

Verdict AcceptedIf(bool accepted)
{
    return accepted ? Accept : Refuse;
}

// A RewriteHeader or RewriteProxy line: the rule takes the pending conditions when it compiles.
Verdict AddRuleWithConditions(Htaccess& h, const boost::shared_ptr<CfgRewriteRule>& rule)
{
    rule->conditions = h.pendingRule->conditions;
    std::string compileErrors;
    if (!rule->Compile(compileErrors))
        return Refuse;
    h.rules.push_back(rule);
    h.pendingRule = boost::make_shared<CfgRewriteRule>();
    return Accept;
}

typedef const Captures& Groups;
typedef const LineText& Line;

// A RewriteCond line: the condition joins the pending rule once it parses; one that does not parse,
// or that throws, leaves the rule's conditions as they were.
Verdict AddCondition(Htaccess& h, Groups m)
{
    CfgRewriteCond condition;
    condition.testString = m[1].str();
    condition.pattern = m[2].str();
    condition.flagsText = m[3].str();
    if (!condition.Parse())
        return Refuse;
    h.pendingRule->AddCondition(std::move(condition));
    return Accept;
}

Verdict CloseFilesSection(Htaccess& h, Groups, Line)
{
    h.filesSections.push_back(h.openFilesSection);
    h.openFilesSection.reset();
    return Accept;
}

}

// Directory-level directives in the order of trial; every expression contains its keyword.
const DirectiveRow<Htaccess> kDirectoryTable[] = {
    {{"\\s*", nullptr}, Anywhere, [](Htaccess&, Groups, Line) { return Accept; }},
    {{"\\s*#(.*)", "#"}, Anywhere, [](Htaccess&, Groups, Line) { return Accept; }},
    {{"<\\s*(?:FilesMatch|Files\\s+~)\\s+([^>]+)\\s*>\\s*(?:#.*)?", "files"}, Anywhere,
     [](Htaccess& h, Groups m, Line) {
         h.openFilesSection = OpenRegexSection(m[1].str());
         return AcceptedIf(h.openFilesSection != nullptr);
     }},
    {{"<\\s*Files\\s+([^>]+)\\s*>\\s*(?:#.*)?", "files"}, Anywhere,
     [](Htaccess& h, Groups m, Line) {
         h.openFilesSection = boost::make_shared<DirectoryLevel>();
         std::string sectionPath = m[1].str();
         h.openFilesSection->SetPath(WildcardToRegex(TrimUnquote(sectionPath)));
         return Accept;
     }},
    {{"<\\s*/(FilesMatch|Files)\\s*>\\s*(?:#.*)?", "/files"}, InFilesSection, CloseFilesSection},
    {{"<\\s*/Files\\s*>\\s*(?:#.*)?", "/files"}, InFilesSection, CloseFilesSection},
    {LineExpression::EveryLine(), InFilesSection,
     [](Htaccess& h, Groups, Line line) { return AcceptedIf(h.openFilesSection->ParseLineText(line)); }},
    {{"<\\s*Orvane\\s*>\\s*(?:#.*)?", "orvane"}, Anywhere,
     [](Htaccess& h, Groups, Line) {
         if (h.CurrentSectionKind() == Htaccess::OutsideSections)
             h.sectionKinds.push_back(Htaccess::OrvaneSection);
         return Accept;
     }},
    {{"<\\s*/Orvane\\s*>\\s*(?:#.*)?", "/orvane"}, Anywhere,
     [](Htaccess& h, Groups, Line) {
         if (h.CurrentSectionKind() == Htaccess::OrvaneSection)
             h.sectionKinds.pop_back();
         return Accept;
     }},
    {{"\\s*ProxyConnectTimeout\\s+(\\d+)\\s*(?:#.*)?", "proxyconnecttimeout"}, InOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.proxySettings.connectTimeout = SaturatedProduct(DecimalValue(m[1].str()), kMillisecondsPerSecond);
         return Accept;
     }},
    {{"\\s*ProxyReceiveTimeout\\s+(\\d+)\\s*(?:#.*)?", "proxyreceivetimeout"}, InOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.proxySettings.receiveTimeout = SaturatedProduct(DecimalValue(m[1].str()), kMillisecondsPerSecond);
         return Accept;
     }},
    {{"\\s*ProxySendTimeout\\s+(\\d+)\\s*(?:#.*)?", "proxysendtimeout"}, InOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.proxySettings.sendTimeout = SaturatedProduct(DecimalValue(m[1].str()), kMillisecondsPerSecond);
         return Accept;
     }},
    {{"\\s*ProxySuppressErrors\\s+(On|Off)\\s*(?:#.*)?", "proxysuppresserrors"}, InOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.proxySettings.suppressErrors = EqualsNoCase(m[1].str(), "on") ? 1 : 0;
         return Accept;
     }},
    {{"\\s*RepeatLimit\\s+(\\d+)\\s*(?:#.*)?", "repeatlimit"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.repeatLimit = DecimalValue(m[1].str());
         return Accept;
     }},
    {{"\\s*AllowOverride\\s+(All|None|AuthConfig|FileInfo|Indexes|Limit|Options)\\s*(?:#.*)?", "allowoverride"},
     OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         static const struct {
             const char* word;
             std::int32_t value;
         } overrides[] = {
             {"AuthConfig", Htaccess::AuthConfig}, {"FileInfo", Htaccess::FileInfo}, {"Indexes", Htaccess::Indexes},
             {"Limit", Htaccess::Limit},           {"Options", Htaccess::Options},   {"All", Htaccess::All},
             {"None", Htaccess::None},
         };
         for (const auto& entry : overrides) {
             if (EqualsNoCase(m[1].str(), entry.word)) {
                 h.allowOverride = entry.value;
                 break;
             }
         }
         return Accept;
     }},
    {{"\\s*RewriteEngine\\s+(On|Off)\\s*(?:#.*)?", "rewriteengine"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.rewriteEngine = EqualsNoCase(m[1].str(), "on") ? 1 : 0;
         return Accept;
     }},
    {{"\\s*RewriteOptions\\s+(inherit)?\\s*(?:#.*)?", "rewriteoptions"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.inheritOptions = EqualsNoCase(m[1].str(), "inherit") ? 1 : 0;
         return Accept;
     }},
    {{"\\s*RewriteMap\\s+(\\S+)\\s+([^#:]+)\\s*\\:\\s*([^#]+)\\s*(?:#.*)?", "rewritemap"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
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
         h.rewriteMaps.push_back(map);
         return Accept;
     }},
    {{"\\s*RewriteBase\\s*(\\S*)\\s*(?:#.*)?", "rewritebase"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.rewriteBase = m[1].str();
         TrimSpace(h.rewriteBase);
         if (h.rewriteBase.empty())
             h.rewriteBase = "\"\"";
         return Accept;
     }},
    {{"\\s*RewriteCond\\s+(\\S+)\\s*(\\S+)\\s*(\\[[^\\]]+\\])?\\s*(#.*)?", "rewritecond"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) { return AddCondition(h, m); }},
    {{"\\s*RewriteRule\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?", "rewriterule"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         // A rule that does not compile stays pending, with its conditions, for the next rule line.
         CfgRewriteRule& rule = *h.pendingRule;
         rule.pattern = m[1].str();
         rule.substitution = m[2].str();
         rule.flagsText = m[3].str();
         rule.O = h.rewriteCompatibility2 == 0 ? 1 : 0;
         std::string compileErrors;
         if (!rule.Compile(compileErrors))
             return Refuse;
         h.rules.push_back(h.pendingRule);
         h.pendingRule = boost::make_shared<CfgRewriteRule>();
         return Accept;
     }},
    {{"\\s*RewriteHeader\\s+(\\S+)\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?", "rewriteheader"},
     OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         boost::shared_ptr<CfgRewriteHeader> header = boost::make_shared<CfgRewriteHeader>();
         header->headerName = m[1].str();
         header->pattern = m[2].str();
         header->substitution = m[3].str();
         header->flagsText = m[4].str();
         return AddRuleWithConditions(h, header);
     }},
    {{"\\s*RewriteProxy\\s+(\\S+)\\s+(\\S+)\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?", "rewriteproxy"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         boost::shared_ptr<CfgRewriteProxy> proxy = boost::make_shared<CfgRewriteProxy>();
         proxy->pattern = m[1].str();
         proxy->substitution = m[2].str();
         proxy->flagsText = m[3].str();
         return AddRuleWithConditions(h, proxy);
     }},
    {{"\\s*RewriteCompatibility2\\s+(On|Off)\\s*(?:#.*)?", "rewritecompatibility2"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.rewriteCompatibility2 = EqualsNoCase(m[1].str(), "on") ? 1 : 0;
         return Accept;
     }},
    // "RedirectHanler" is the directive's own spelling in the language, which files and the converter
    // write; correcting it would refuse their lines.
    {{"\\s*RedirectHanler\\s+(Internal|External)\\s*(?:#.*)?", "redirecthanler"}, OutsideOrvaneSection,
     [](Htaccess& h, Groups m, Line) {
         h.redirectHandlerInternal = EqualsNoCase(m[1].str(), "external") ? 0 : 1;
         return Accept;
     }},
};
const std::size_t kDirectoryTableSize = sizeof(kDirectoryTable) / sizeof(kDirectoryTable[0]);
const RowIndex kDirectoryIndex(kDirectoryTable, kDirectoryTableSize);

const LineExpression& RuleLineExpression()
{
    static const LineExpression& rule = [] () -> const LineExpression& {
        for (const DirectiveRow<Htaccess>& row : kDirectoryTable)
            if (row.expression.keyword != nullptr && std::strcmp(row.expression.keyword, "rewriterule") == 0)
                return row.expression;
        throw std::logic_error("no RewriteRule row");
    }();
    return rule;
}

const LineExpression kRuleLineSubstitutionOptional("\\s*RewriteRule\\s+(\\S+)\\s+(\\S+)?\\s*(?:\\[([^\\]]+)\\])?\\s*(#.*)?",
                                                   "rewriterule");

namespace {

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
    ParseLogicalLines(*this, text, [this, &errors](const LogicalLine& line) {
        if (!ParseLine(line.text)) {
            errors.append(kUnknownExpression).append(IntToString(lineNumber)).append(": ");
            errors.append(line.text).append(kLineEnd);
        }
    });
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
    return ParseLineText(LineText(line));
}

bool Htaccess::ParseLineText(const LineText& line)
{
    return ParseWithTable(kDirectoryTable, kDirectoryIndex, *this, line);
}

DirectoryLevel::DirectoryLevel(const std::wstring& name) : Htaccess(name) {}

DirectoryLevel::~DirectoryLevel() = default;

}}
