#pragma once
// One virtual host: the directory level plus Directory and Location sections and the log directives.
#include <cstdint>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "RewriteConfig/Htaccess.h"

namespace Orvane { namespace Quillon {

class VirtualHostHtaccess : public Htaccess {
public:
    std::vector<std::wstring> accessFileNames;  // AccessFileName, in the order given
    std::wstring rewriteLog;
    std::int32_t rewriteLogLevel;
    // Closed sections, in closing order: by "</Directory>"; by "</DirectoryMatch>", or by "</Directory>"
    // inside a regular-expression section; by "</Location>" or "</LocationMatch>".
    std::vector<boost::shared_ptr<DirectoryLevel>> directorySections;
    std::vector<boost::shared_ptr<DirectoryLevel>> directoryMatchSections;
    std::vector<boost::shared_ptr<DirectoryLevel>> locationSections;
    boost::shared_ptr<DirectoryLevel> openSection;  // the one open section, if any

    explicit VirtualHostHtaccess(const std::wstring& fileName = std::wstring());
    ~VirtualHostHtaccess() override;

    bool ParseLineText(const Detail::LineText& line) override;
};

}}
