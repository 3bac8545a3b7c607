#include "RewriteConfig/QuillonConfig.h"

#include <boost/make_shared.hpp>

#include "DirectiveTables.h"
#include "RewriteConfig/Platform.h"
#include "RewriteConfig/TextFunctions.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

namespace Detail {

namespace {

// The host list of a VirtualHost tag is cut at every single white-space character.
const boost::regex kHostSeparator("\\s", kNoCase);
// One host entry: host, then an optional port after a colon.
const LineExpression kHostPort("([^:]+)(?::(\\S+))?", "");

// LogLevel words, exactly as written; the position counts from 1.
const char* const kLogLevels[] = {"emerg", "alert", "crit", "error", "warn", "notice", "info", "debug"};

// Where a server-level row is tried.
bool Anywhere(const ServerLine&)
{
    return true;
}

bool InVirtualHost(const ServerLine& s)
{
    return s.config.openVirtualHost != nullptr;
}

bool WithVirtualHosts(const ServerLine& s)
{
    return s.withVirtualHosts;
}

const Verdict Accept = Verdict::Accept;
const Verdict Refuse = Verdict::Refuse;
const Verdict Pass = Verdict::Pass;

typedef const Captures& Groups;
typedef const LineText& Line;

}

// Server-level directives in the order of trial: a line the open virtual host refuses is read again at
// the server level, first as the server's own virtual-host level reads it.
const DirectiveRow<ServerLine> kServerTable[] = {
    {LineExpression::EveryLine(), InVirtualHost,
     [](ServerLine& s, Groups, Line line) { return s.config.openVirtualHost->ParseLineText(line) ? Accept : Pass; }},
    {LineExpression::EveryLine(), Anywhere,
     [](ServerLine& s, Groups, Line line) { return s.config.VirtualHostHtaccess::ParseLineText(line) ? Accept : Pass; }},
    {{"<\\s*VirtualHost\\s+([^>]+)\\s*>\\s*(?:#.*)?", "virtualhost"}, WithVirtualHosts,
     [](ServerLine& s, Groups m, Line) {
         QuillonConfig& config = s.config;
         config.openVirtualHost = boost::make_shared<VirtualHostHtaccess>();
         const std::string hosts = m[1].str();
         try {
             boost::sregex_token_iterator piece(hosts.begin(), hosts.end(), kHostSeparator, -1);
             for (const boost::sregex_token_iterator end; piece != end; ++piece) {
                 const std::string entry = piece->str();
                 Captures hostPort;
                 if (!kHostPort.Match(LineText(entry), hostPort))
                     continue;
                 std::string port = hostPort[2].matched ? hostPort[2].str() : std::string();
                 if (port == "*")
                     port.clear();
                 // The first section that names a host and port keeps it.
                 config.virtualHosts.insert(
                     std::make_pair(QuillonConfig::HostPort(hostPort[1].str(), port), config.openVirtualHost));
             }
         } catch (const std::exception&) {
             // Cutting at single blanks never grows complex; the entries read so far stay.
         }
         return Accept;
     }},
    {{"<\\s*/VirtualHost\\s*>\\s*(?:#.*)?", "/virtualhost"}, WithVirtualHosts,
     [](ServerLine& s, Groups, Line) {
         s.config.openVirtualHost.reset();
         return Accept;
     }},
    {{"\\s*NotifyOrder\\s*=\\s*LOW\\s*(?:#.*)?", "notifyorder"}, Anywhere,
     [](ServerLine& s, Groups, Line) {
         s.config.notifyOrder = QuillonConfig::NotifyOrderLow;
         return Accept;
     }},
    {{"\\s*NotifyOrder\\s*=\\s*MEDIUM\\s*(?:#.*)?", "notifyorder"}, Anywhere,
     [](ServerLine& s, Groups, Line) {
         s.config.notifyOrder = QuillonConfig::NotifyOrderMedium;
         return Accept;
     }},
    {{"\\s*NotifyOrder\\s*=\\s*HIGH\\s*(?:#.*)?", "notifyorder"}, Anywhere,
     [](ServerLine& s, Groups, Line) {
         s.config.notifyOrder = QuillonConfig::NotifyOrderHigh;
         return Accept;
     }},
    {{"\\s*ErrorLog\\s+(.+)\\s*(?:#.*)?", "errorlog"}, Anywhere,
     [](ServerLine& s, Groups m, Line) {
         std::string logPath = m[1].str();
         const std::wstring widePath = Platform::AnsiToWide(TrimUnquote(logPath));
         s.config.errorLog = PathHasColon(widePath) ? widePath : LogBaseDirectory() + widePath;
         return Accept;
     }},
    // The level word must be written in lower case, though the expression takes any case.
    {{"\\s*LogLevel\\s+(emerg|alert|crit|error|warn|notice|info|debug)\\s*(?:#.*)?", "loglevel"}, Anywhere,
     [](ServerLine& s, Groups m, Line) {
         const std::string word = m[1].str();
         for (std::int32_t i = 0; i < static_cast<std::int32_t>(sizeof(kLogLevels) / sizeof(kLogLevels[0])); ++i) {
             if (word == kLogLevels[i]) {
                 s.config.logLevel = i + 1;
                 return Accept;
             }
         }
         return Refuse;
     }},
};
const std::size_t kServerTableSize = sizeof(kServerTable) / sizeof(kServerTable[0]);
const RowIndex kServerIndex(kServerTable, kServerTableSize);

}

using namespace Detail;

QuillonConfig::QuillonConfig(const std::wstring& name)
    : VirtualHostHtaccess(name), notifyOrder(NotifyOrderHigh), logLevel(1)
{
}

QuillonConfig::~QuillonConfig() = default;

bool QuillonConfig::ParseLineText(const LineText& line)
{
    return ParseServerLine(line, true);
}

bool QuillonConfig::ParseServerLine(const LineText& line, bool withVirtualHosts)
{
    ServerLine server{*this, withVirtualHosts};
    return ParseWithTable(kServerTable, kServerIndex, server, line);
}

QuillpageConfig::QuillpageConfig(const std::wstring& name) : QuillonConfig(name) {}

QuillpageConfig::~QuillpageConfig() = default;

bool QuillpageConfig::ParseLineText(const LineText& line)
{
    return ParseServerLine(line, false);
}

}}
