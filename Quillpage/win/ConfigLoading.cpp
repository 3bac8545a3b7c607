// Loading configuration objects from the files named at their construction, and the choice of a
// site folder's per-directory file.
#include "FileText.h"

#include <core/AccessFileChoice.h>
#include <core/SafeContainer.h>

#include <RewriteConfig/Htaccess.h>
#include <RewriteConfig/QuillonConfig.h>

#include <windows.h>

namespace Orvane::Quillon {

bool Htaccess::LoadFromFile()
{
    std::string text;
    if (!ReadFileText(fileName, text)) {
        rewriteEngine = 0;
        return false;
    }
    std::string errors;
    ParseText(text, errors);
    return true;
}

CSafeContainer<Htaccess> QuillonConfig::LoadAccessFile(const std::wstring& folder) const
{
    const std::wstring chosen = ChooseAccessFile(folder, accessFileNames, [](const std::wstring& candidate) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        return ::GetFileAttributesExW(candidate.c_str(), GetFileExInfoStandard, &data) &&
               !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    });
    CSafeContainer<Htaccess> holder(new Htaccess(chosen));
    holder->LoadFromFile();
    return holder;
}

}
