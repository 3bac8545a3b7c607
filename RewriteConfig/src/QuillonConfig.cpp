#include "RewriteConfig/QuillonConfig.h"

#include <boost/make_shared.hpp>

#include "DirectiveTables.h"
#include "RewriteConfig/Platform.h"
#include "RewriteConfig/TextFunctions.h"
#include "SafeRegex.h"

namespace Orvane { namespace Quillon {

namespace Detail {

// Server-level expressions, in the order in which QuillonConfig::ParseLine tries them once the open
// virtual host and the virtual-host level of the server itself have refused the line.
enum ServerExpression {
    ExprVirtualHostOpen, ExprVirtualHostClose, ExprNotifyOrderLow, ExprNotifyOrderMedium,
    ExprNotifyOrderHigh, ExprErrorLog, ExprLogLevel, ExprServerExpressionCount
};

const LineExpression kServerExpressions[] = {
    {"<\\s*VirtualHost\\s+([^>]+)\\s*>\\s*(?:#.*)?", "virtualhost"},
    {"<\\s*/VirtualHost\\s*>\\s*(?:#.*)?", "/virtualhost"},
    {"\\s*NotifyOrder\\s*=\\s*LOW\\s*(?:#.*)?", "notifyorder"},
    {"\\s*NotifyOrder\\s*=\\s*MEDIUM\\s*(?:#.*)?", "notifyorder"},
    {"\\s*NotifyOrder\\s*=\\s*HIGH\\s*(?:#.*)?", "notifyorder"},
    {"\\s*ErrorLog\\s+(.+)\\s*(?:#.*)?", "errorlog"},
    {"\\s*LogLevel\\s+(emerg|alert|crit|error|warn|notice|info|debug)\\s*(?:#.*)?", "loglevel"},
};
const std::size_t kServerExpressionCount = sizeof(kServerExpressions) / sizeof(kServerExpressions[0]);
static_assert(sizeof(kServerExpressions) / sizeof(kServerExpressions[0]) == ExprServerExpressionCount,
              "one expression per directive");

namespace {

// The host list of a VirtualHost tag is cut at every single white-space character.
const boost::regex kHostSeparator("\\s", kNoCase);
// One host entry: host, then an optional port after a colon.
const LineExpression kHostPort("([^:]+)(?::(\\S+))?", "");

// LogLevel words, exactly as written; the position counts from 1.
const char* const kLogLevels[] = {"emerg", "alert", "crit", "error", "warn", "notice", "info", "debug"};

}

}

using namespace Detail;

QuillonConfig::QuillonConfig(const std::wstring& name)
    : VirtualHostHtaccess(name), notifyOrder(NotifyOrderHigh), logLevel(1)
{
}

QuillonConfig::~QuillonConfig() = default;

bool QuillonConfig::ParseLine(const std::string& line)
{
    return ParseServerLine(line, true);
}

bool QuillonConfig::ParseServerLine(const std::string& line, bool withVirtualHosts)
{
    // A line the open virtual host refuses is read again at the server level.
    if (openVirtualHost && openVirtualHost->ParseLine(line))
        return true;
    if (VirtualHostHtaccess::ParseLine(line))
        return true;

    const LineText text(line);
    const LineExpression* const e = kServerExpressions;
    Captures m;

    if (withVirtualHosts && e[ExprVirtualHostOpen].Match(text, m)) {
        openVirtualHost = boost::make_shared<VirtualHostHtaccess>();
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
                virtualHosts.insert(std::make_pair(HostPort(hostPort[1].str(), port), openVirtualHost));
            }
        } catch (const std::exception&) {
            // Cutting at single blanks never grows complex; the entries read so far stay.
        }
        return true;
    }
    if (withVirtualHosts && e[ExprVirtualHostClose].Match(text, m)) {
        openVirtualHost.reset();
        return true;
    }
    if (e[ExprNotifyOrderLow].Match(text, m)) {
        notifyOrder = NotifyOrderLow;
        return true;
    }
    if (e[ExprNotifyOrderMedium].Match(text, m)) {
        notifyOrder = NotifyOrderMedium;
        return true;
    }
    if (e[ExprNotifyOrderHigh].Match(text, m)) {
        notifyOrder = NotifyOrderHigh;
        return true;
    }
    if (e[ExprErrorLog].Match(text, m)) {
        std::string logPath = m[1].str();
        const std::wstring widePath = Platform::AnsiToWide(TrimUnquote(logPath));
        errorLog = PathHasColon(widePath) ? widePath : LogBaseDirectory + widePath;
        return true;
    }
    if (e[ExprLogLevel].Match(text, m)) {
        const std::string word = m[1].str();
        for (std::int32_t i = 0; i < static_cast<std::int32_t>(sizeof(kLogLevels) / sizeof(kLogLevels[0])); ++i) {
            if (word == kLogLevels[i]) {
                logLevel = i + 1;
                return true;
            }
        }
        return false;
    }
    return false;
}

QuillpageConfig::QuillpageConfig(const std::wstring& name) : QuillonConfig(name) {}

QuillpageConfig::~QuillpageConfig() = default;

bool QuillpageConfig::ParseLine(const std::string& line)
{
    return ParseServerLine(line, false);
}

}}
