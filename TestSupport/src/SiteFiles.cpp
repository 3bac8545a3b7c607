#include "TestSupport/SiteFiles.h"

#include <windows.h>

#include <Framework/Handles.h>

#include <string>

namespace TestSupport {

namespace {

void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry{};
    {
        Framework::ScopedFind search(::FindFirstFileW((folder + L"\\*").c_str(), &entry));
        if (search) {
            do {
                const std::wstring name = entry.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                const std::wstring path = folder + L"\\" + name;
                ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path);
                else
                    ::DeleteFileW(path.c_str());
            } while (::FindNextFileW(search.Get(), &entry));
        }
    }
    ::RemoveDirectoryW(folder.c_str());
}

bool MakeFolders(const std::wstring& path)
{
    for (size_t slash = path.find(L'\\', 3); ; slash = path.find(L'\\', slash + 1)) {
        const std::wstring part = path.substr(0, slash);
        if (!::CreateDirectoryW(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
        if (slash == std::wstring::npos)
            return true;
    }
}

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to)
{
    for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}

SiteFiles::SiteFiles(const std::wstring& name)
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    driveName_ = name + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount64());
    base_ = std::wstring(temp) + driveName_;
    if (!base_.empty() && base_.back() == L'\\')
        base_.pop_back();
    wchar_t drive[MAX_PATH] = {};
    ::GetEnvironmentVariableW(L"SystemDrive", drive, MAX_PATH);
    driveBase_ = std::wstring(drive) + L"\\" + driveName_;
    MakeFolders(base_);
}

SiteFiles::~SiteFiles()
{
    RemoveTree(base_);
    RemoveTree(driveBase_);
}

bool SiteFiles::Folders(std::initializer_list<const wchar_t*> relative) const
{
    for (const wchar_t* path : relative) {
        const std::wstring text = path;
        const bool onDrive = text.compare(0, 2, L"D:") == 0;
        if (!MakeFolders((onDrive ? driveBase_ : base_) + L"\\" + (onDrive ? text.substr(3) : text)))
            return false;
    }
    return true;
}

std::wstring SiteFiles::Description(const std::wstring& text) const
{
    std::wstring filled = text;
    ReplaceAll(filled, L"{B}", base_);
    ReplaceAll(filled, L"{S}", driveName_);
    const std::wstring path = base_ + L"\\sites-" + std::to_wstring(::GetTickCount64()) + L".txt";
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, filled.c_str(), static_cast<int>(filled.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, filled.c_str(), static_cast<int>(filled.size()), &utf8[0], bytes, nullptr, nullptr);
    Framework::ScopedFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.Get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) ||
        written != utf8.size())
        return std::wstring();
    return path;
}

}
