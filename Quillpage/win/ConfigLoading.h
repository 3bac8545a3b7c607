#pragma once
// Loading a configuration object from the file named at its construction, telling a missing file
// from one that is there but cannot be read; and the page's choice of a site folder's file.
#include "FileText.h"

#include <RewriteConfig/Htaccess.h>

#include <string>
#include <vector>

namespace Orvane::Quillon {

// Reads the object's own file as the page reads it (sharing it with writers) and parses it into
// the object, dropping the parse errors. A file that is not read leaves the object's defaults,
// with its RewriteEngine switch off. A file that is there but cannot be read is Unreadable: its
// settings are not known, and whatever is shown or written from the object would lose them.
FileReadResult LoadConfigurationFile(Htaccess& configuration);

// folder + the first of names that exists as a file (not a folder), else folder + the first name.
std::wstring ChooseExistingAccessFile(const std::wstring& folder, const std::vector<std::wstring>& names);

}
