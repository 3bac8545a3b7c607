// Interim forms of the page-side loading until the store and loading library is merged.
#include "PageLoading.h"

#include <Framework/FileBytes.h>
#include <RewriteConfig/Platform.h>

#include <commdlg.h>

#include <vector>

namespace Orvane { namespace Quillon {

namespace {

std::string BytesUpToNul(const std::wstring& path, bool& ok)
{
    std::string bytes;
    ok = Framework::ReadFileBytes(path, bytes) == 0;
    const size_t nul = bytes.find('\0');
    if (nul != std::string::npos)
        bytes.resize(nul);
    return bytes;
}

}

void ReadInstallDir() {}

bool LoadConfiguration(Htaccess& configuration)
{
    bool ok = false;
    const std::string text = BytesUpToNul(configuration.fileName, ok);
    if (!ok) {
        configuration.rewriteEngine = 0;
        return false;
    }
    std::string errors;
    configuration.ParseText(text, errors);
    return true;
}

std::wstring LookUpSiteFolder(std::int32_t, const std::wstring&)
{
    return std::wstring();
}

std::wstring ChooseAccessFile(const QuillonConfig& server, const std::wstring& folder)
{
    for (const std::wstring& name : server.accessFileNames) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        const std::wstring candidate = folder + name;
        if (::GetFileAttributesExW(candidate.c_str(), GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return candidate;
    }
    return folder + (server.accessFileNames.empty() ? std::wstring(L".htaccess") : server.accessFileNames.front());
}

std::wstring ReadWholeFileText(const std::wstring& path)
{
    bool ok = false;
    return Platform::AnsiToWide(BytesUpToNul(path, ok));
}

bool ChooseOldSyntaxFile(HWND owner, std::wstring& chosen)
{
    std::vector<wchar_t> file(260, L'\0');
    const std::wstring initial = L"httpd.ini";
    initial.copy(file.data(), initial.size());
    static const wchar_t filter[] = L"Ini files \0*.ini\0";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = L"ini";
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
    if (!::GetOpenFileNameW(&dialog))
        return false;
    chosen = file.data();
    return true;
}

}}
