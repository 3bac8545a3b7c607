#include "RewriteConfig/VirtualHostHtaccess.h"

#include <boost/make_shared.hpp>

#include "DirectiveTables.h"
#include "Sections.h"
#include "RewriteConfig/Platform.h"
#include "RewriteConfig/TextFunctions.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

namespace Detail {

// Virtual-host expressions, in the order in which VirtualHostHtaccess::ParseLine tries them: the
// section tags before an open section sees the line, the log directives and AccessFileName only after
// the directory level refused it.
enum VirtualHostExpression {
    ExprDirectoryMatchOpen, ExprDirectoryOpen, ExprDirectoryClose, ExprDirectoryMatchClose,
    ExprLocationMatchOpen, ExprLocationOpen, ExprLocationMatchClose, ExprRewriteLog,
    ExprRewriteLogLevel, ExprAccessFileName, ExprVirtualHostExpressionCount
};

const LineExpression kVirtualHostExpressions[] = {
    {"<\\s*(?:DirectoryMatch|Directory\\s+~)\\s+([^>]+)\\s*>\\s*(?:#.*)?", "directory"},
    {"<\\s*Directory\\s+([^>]+)\\s*>\\s*(?:#.*)?", "directory"},
    {"<\\s*/Directory\\s*>\\s*(?:#.*)?", "/directory"},
    {"<\\s*/(DirectoryMatch|Directory)\\s*>\\s*(?:#.*)?", "/directory"},
    {"<\\s*(?:LocationMatch|Location\\s~)\\s+([^>]+)\\s*>\\s*(?:#.*)?", "location"},
    {"<\\s*Location\\s+([^>]+)\\s*>\\s*(?:#.*)?", "location"},
    {"<\\s*/(LocationMatch|Location)\\s*>\\s*(?:#.*)?", "/location"},
    {"\\s*RewriteLog\\s+(.+)\\s*(?:#.*)?", "rewritelog"},
    {"\\s*RewriteLogLevel\\s+(\\d+)\\s*(?:#.*)?", "rewriteloglevel"},
    {"\\s*AccessFileName\\s+([^#]+)\\s*(?:#.*)?", "accessfilename"},
};
const std::size_t kVirtualHostExpressionCount = sizeof(kVirtualHostExpressions) / sizeof(kVirtualHostExpressions[0]);
static_assert(sizeof(kVirtualHostExpressions) / sizeof(kVirtualHostExpressions[0]) == ExprVirtualHostExpressionCount,
              "one expression per directive");

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

}

}

using namespace Detail;

VirtualHostHtaccess::VirtualHostHtaccess(const std::wstring& name)
    : Htaccess(name), accessFileNames(1, L".htaccess"), rewriteLog(LogBaseDirectory + L"Rewrite.log"),
      rewriteLogLevel(0)
{
}

VirtualHostHtaccess::~VirtualHostHtaccess() = default;

bool VirtualHostHtaccess::ParseLine(const std::string& line)
{
    const LineText text(line);
    const LineExpression* const e = kVirtualHostExpressions;
    Captures m;

    // Sections do not nest: an opening tag replaces the open section, a closing tag closes it.
    if (e[ExprDirectoryMatchOpen].Match(text, m)) {
        sectionKinds.push_back(RegexDirectorySection);
        openSection = OpenRegexSection(m[1].str());
        return openSection != nullptr;
    }
    if (e[ExprDirectoryOpen].Match(text, m)) {
        openSection = boost::make_shared<DirectoryLevel>();
        std::string sectionPath = m[1].str();
        return openSection->SetPath(WildcardToRegex(BackslashesToSlashes(TrimDirectoryPath(TrimUnquote(sectionPath)))));
    }
    if (CurrentSectionKind() != RegexDirectorySection && e[ExprDirectoryClose].Match(text, m)) {
        if (openSection)
            directorySections.push_back(openSection);
        openSection.reset();
        return true;
    }
    if (e[ExprDirectoryMatchClose].Match(text, m)) {
        if (!sectionKinds.empty())
            sectionKinds.pop_back();
        if (openSection)
            directoryMatchSections.push_back(openSection);
        openSection.reset();
        return true;
    }
    if (e[ExprLocationMatchOpen].Match(text, m)) {
        openSection = OpenRegexSection(m[1].str());
        return openSection != nullptr;
    }
    if (e[ExprLocationOpen].Match(text, m)) {
        openSection = boost::make_shared<DirectoryLevel>();
        std::string sectionPath = m[1].str();
        TrimUnquote(sectionPath);
        if (sectionPath.empty() || sectionPath.back() != '/')
            sectionPath.push_back('/');
        sectionPath.push_back('*');
        return openSection->SetPath(WildcardToRegex(sectionPath));
    }
    if (e[ExprLocationMatchClose].Match(text, m)) {
        if (openSection)
            locationSections.push_back(openSection);
        openSection.reset();
        return true;
    }
    if (openSection)
        return openSection->ParseLine(line);

    if (Htaccess::ParseLine(line))
        return true;

    if (e[ExprRewriteLog].Match(text, m)) {
        std::string logPath = m[1].str();
        std::wstring widePath = Platform::AnsiToWide(TrimUnquote(logPath));
        rewriteLog = PathHasColon(widePath) ? widePath : LogBaseDirectory + widePath;
        return true;
    }
    if (e[ExprRewriteLogLevel].Match(text, m)) {
        rewriteLogLevel = DecimalValue(m[1].str());
        return true;
    }
    if (e[ExprAccessFileName].Match(text, m)) {
        accessFileNames.clear();
        std::wstring names = Platform::AnsiToWide(m[1].str());
        LowerCase(TrimSpace(names));
        if (!names.empty()) {
            try {
                boost::wsregex_token_iterator piece(names.begin(), names.end(), AccessFileNameSplitter(), -1);
                for (const boost::wsregex_token_iterator end; piece != end; ++piece)
                    if (piece->length() > 0)
                        accessFileNames.push_back(piece->str());
            } catch (const std::exception&) {
                // The splitter never grows complex; should it fail, the names read so far stay.
            }
        }
        return true;
    }
    return false;
}

}}
