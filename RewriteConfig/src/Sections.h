#pragma once
// Opening of the sections whose path is a regular expression (FilesMatch, DirectoryMatch,
// LocationMatch), shared by the directory-level and the virtual-host parser.
#include <string>

#include <boost/shared_ptr.hpp>

#include "RewriteConfig/Htaccess.h"

namespace Orvane { namespace Quillon { namespace Detail {

// A new section for the trimmed and unquoted expression; empty when the expression does not compile.
boost::shared_ptr<DirectoryLevel> OpenRegexSection(std::string path);

}}}
