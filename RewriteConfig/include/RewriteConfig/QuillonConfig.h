#pragma once
// The server level ("httpd.conf"): a virtual host that also knows VirtualHost sections, NotifyOrder,
// ErrorLog and LogLevel.
#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include <boost/shared_ptr.hpp>

#include "RewriteConfig/VirtualHostHtaccess.h"

namespace Orvane {

template <class T>
class CSafeContainer;

namespace Quillon {

class QuillonConfig : public VirtualHostHtaccess {
public:
    // NotifyOrder values (the filter notification orders low, medium, high).
    enum NotifyOrderValue : std::int32_t {
        NotifyOrderLow = 0x20000, NotifyOrderMedium = 0x40000, NotifyOrderHigh = 0x80000
    };

    typedef std::pair<std::string, std::string> HostPort;  // (host, port); a port "*" is stored empty

    std::int32_t notifyOrder;                                                 // a NotifyOrderValue
    std::map<HostPort, boost::shared_ptr<VirtualHostHtaccess>> virtualHosts;  // by the hosts their tags name
    std::wstring errorLog;
    std::int32_t logLevel;  // 1 emerg ... 8 debug
    boost::shared_ptr<VirtualHostHtaccess> openVirtualHost;  // the open VirtualHost section; it takes lines first

    explicit QuillonConfig(const std::wstring& fileName = std::wstring());
    ~QuillonConfig() override;

    bool ParseLineText(const Detail::LineText& line) override;

    // The per-directory configuration of a site folder (ending with a separator): the first
    // AccessFileName name that exists there as a file, else the first name, loaded with
    // Htaccess::LoadFromFile. Defined, like LoadFromFile, by the site property page.
    CSafeContainer<Htaccess> LoadAccessFile(const std::wstring& folder) const;

protected:
    // The one server-level parser; withVirtualHosts false leaves out the VirtualHost section tags.
    bool ParseServerLine(const Detail::LineText& line, bool withVirtualHosts);
};

// The server level as the site property page reads it: no VirtualHost sections, so their tags are
// refused and the lines between them are server-level lines. Same fields and defaults.
class QuillpageConfig final : public QuillonConfig {
public:
    explicit QuillpageConfig(const std::wstring& fileName = std::wstring());
    ~QuillpageConfig() override;

    bool ParseLineText(const Detail::LineText& line) override;
};

}}
