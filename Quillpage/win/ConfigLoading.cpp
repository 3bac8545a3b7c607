// Loading configuration objects from the files named at their construction, and the choice of a
// site folder's per-directory file.
#include "ConfigLoading.h"

#include <core/AccessFileChoice.h>
#include <core/SafeContainer.h>

#include <RewriteConfig/QuillonConfig.h>

#include <windows.h>

namespace Orvane::Quillon {

FileReadResult LoadConfigurationFile(Htaccess& configuration)
{
    std::string text;
    const FileReadResult result = ReadWholeFile(configuration.fileName, text);
    if (result != FileReadResult::Read) {
        configuration.rewriteEngine = 0;
        return result;
    }
    std::string errors;
    configuration.ParseText(text, errors);
    return result;
}

bool Htaccess::LoadFromFile()
{
    return LoadConfigurationFile(*this) == FileReadResult::Read;
}

std::wstring ChooseExistingAccessFile(const std::wstring& folder, const std::vector<std::wstring>& names)
{
    return ChooseAccessFile(folder, names, [](const std::wstring& candidate) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        return ::GetFileAttributesExW(candidate.c_str(), GetFileExInfoStandard, &data) &&
               !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    });
}

CSafeContainer<Htaccess> QuillonConfig::LoadAccessFile(const std::wstring& folder) const
{
    CSafeContainer<Htaccess> holder(new Htaccess(ChooseExistingAccessFile(folder, accessFileNames)));
    holder->LoadFromFile();
    return holder;
}

}
