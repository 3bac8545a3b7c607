#include "RewriteConfig/VirtualHostHtaccess.h"

#include <boost/make_shared.hpp>

#include "DirectiveTables.h"
#include "Sections.h"
#include "RewriteConfig/Platform.h"
#include "RewriteConfig/TextFunctions.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

namespace Detail {

namespace {

// The separator of access file names, built on its first use.
const boost::wregex& AccessFileNameSplitter()
{
    static const boost::wregex splitter(L"\\s+", boost::regex::perl | boost::regex::icase);
    return splitter;
}

std::string& BackslashesToSlashes(std::string& text)
{
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return text;
}

// Where a virtual-host row is tried. The section tags come before the open section sees the line; the
// log directives and AccessFileName only after the directory level refused it.
bool Anywhere(const VirtualHostHtaccess&)
{
    return true;
}

bool InSection(const VirtualHostHtaccess& v)
{
    return v.openSection != nullptr;
}

// Inside a regular-expression Directory section its closing tag goes to the DirectoryMatch row.
bool OutsideRegexDirectory(const VirtualHostHtaccess& v)
{
    return v.CurrentSectionKind() != Htaccess::RegexDirectorySection;
}

const Verdict Accept = Verdict::Accept;
const Verdict Refuse = Verdict::Refuse;
const Verdict Pass = Verdict::Pass;

Verdict AcceptedIf(bool accepted)
{
    return accepted ? Accept : Refuse;
}

// Sections do not nest: an opening tag replaces the open section, a closing tag files it.
void CloseSection(VirtualHostHtaccess& v, std::vector<boost::shared_ptr<DirectoryLevel>>& into)
{
    if (v.openSection)
        into.push_back(v.openSection);
    v.openSection.reset();
}

typedef const Captures& Groups;
typedef const LineText& Line;

}

// Virtual-host directives in the order of trial.
const DirectiveRow<VirtualHostHtaccess> kVirtualHostTable[] = {
    {{"<\\s*(?:DirectoryMatch|Directory\\s+~)\\s+([^>]+)\\s*>\\s*(?:#.*)?", "directory"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups m, Line) {
         v.sectionKinds.push_back(Htaccess::RegexDirectorySection);
         v.openSection = OpenRegexSection(m[1].str());
         return AcceptedIf(v.openSection != nullptr);
     }},
    {{"<\\s*Directory\\s+([^>]+)\\s*>\\s*(?:#.*)?", "directory"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups m, Line) {
         v.openSection = boost::make_shared<DirectoryLevel>();
         std::string sectionPath = m[1].str();
         return AcceptedIf(v.openSection->SetPath(
             WildcardToRegex(BackslashesToSlashes(TrimDirectoryPath(TrimUnquote(sectionPath))))));
     }},
    {{"<\\s*/Directory\\s*>\\s*(?:#.*)?", "/directory"}, OutsideRegexDirectory,
     [](VirtualHostHtaccess& v, Groups, Line) {
         CloseSection(v, v.directorySections);
         return Accept;
     }},
    {{"<\\s*/(DirectoryMatch|Directory)\\s*>\\s*(?:#.*)?", "/directory"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups, Line) {
         if (!v.sectionKinds.empty())
             v.sectionKinds.pop_back();
         CloseSection(v, v.directoryMatchSections);
         return Accept;
     }},
    {{"<\\s*(?:LocationMatch|Location\\s~)\\s+([^>]+)\\s*>\\s*(?:#.*)?", "location"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups m, Line) {
         v.openSection = OpenRegexSection(m[1].str());
         return AcceptedIf(v.openSection != nullptr);
     }},
    {{"<\\s*Location\\s+([^>]+)\\s*>\\s*(?:#.*)?", "location"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups m, Line) {
         v.openSection = boost::make_shared<DirectoryLevel>();
         std::string sectionPath = m[1].str();
         TrimUnquote(sectionPath);
         if (sectionPath.empty() || sectionPath.back() != '/')
             sectionPath.push_back('/');
         sectionPath.push_back('*');
         return AcceptedIf(v.openSection->SetPath(WildcardToRegex(sectionPath)));
     }},
    {{"<\\s*/(LocationMatch|Location)\\s*>\\s*(?:#.*)?", "/location"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups, Line) {
         CloseSection(v, v.locationSections);
         return Accept;
     }},
    {LineExpression::EveryLine(), InSection,
     [](VirtualHostHtaccess& v, Groups, Line line) { return AcceptedIf(v.openSection->ParseLineText(line)); }},
    {LineExpression::EveryLine(), Anywhere,
     [](VirtualHostHtaccess& v, Groups, Line line) { return v.Htaccess::ParseLineText(line) ? Accept : Pass; }},
    {{"\\s*RewriteLog\\s+(.+)\\s*(?:#.*)?", "rewritelog"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups m, Line) {
         std::string logPath = m[1].str();
         std::wstring widePath = Platform::AnsiToWide(TrimUnquote(logPath));
         v.rewriteLog = PathHasColon(widePath) ? widePath : LogBaseDirectory() + widePath;
         return Accept;
     }},
    {{"\\s*RewriteLogLevel\\s+(\\d+)\\s*(?:#.*)?", "rewriteloglevel"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups m, Line) {
         v.rewriteLogLevel = DecimalValue(m[1].str());
         return Accept;
     }},
    {{"\\s*AccessFileName\\s+([^#]+)\\s*(?:#.*)?", "accessfilename"}, Anywhere,
     [](VirtualHostHtaccess& v, Groups m, Line) {
         v.accessFileNames.clear();
         std::wstring names = Platform::AnsiToWide(m[1].str());
         LowerCase(TrimSpace(names));
         if (!names.empty()) {
             try {
                 boost::wsregex_token_iterator piece(names.begin(), names.end(), AccessFileNameSplitter(), -1);
                 for (const boost::wsregex_token_iterator end; piece != end; ++piece)
                     if (piece->length() > 0)
                         v.accessFileNames.push_back(piece->str());
             } catch (const std::exception&) {
                 // The splitter never grows complex; should it fail, the names read so far stay.
             }
         }
         return Accept;
     }},
};
const std::size_t kVirtualHostTableSize = sizeof(kVirtualHostTable) / sizeof(kVirtualHostTable[0]);
const RowIndex kVirtualHostIndex(kVirtualHostTable, kVirtualHostTableSize);

}

using namespace Detail;

VirtualHostHtaccess::VirtualHostHtaccess(const std::wstring& name)
    : Htaccess(name), accessFileNames(1, L".htaccess"), rewriteLog(LogBaseDirectory() + L"Rewrite.log"),
      rewriteLogLevel(0)
{
}

VirtualHostHtaccess::~VirtualHostHtaccess() = default;

bool VirtualHostHtaccess::ParseLineText(const LineText& line)
{
    return ParseWithTable(kVirtualHostTable, kVirtualHostIndex, *this, line);
}

}}
