#include "Win32ConverterFiles.h"

#include <cstdint>
#include <new>
#include <string>

#include <windows.h>

#include "Framework/FileRead.h"
#include "Framework/FileReplace.h"
#include "Framework/Handles.h"
#include "Framework/Paths.h"

namespace Orvane { namespace Quillshift {

namespace {

// An input of 4 GB or more is refused (as is one larger than a string can hold).
constexpr std::uint64_t kMaxInputBytes = 0xFFFFFFFFull;

// The absolute form of a path, for comparing two names of one file.
std::wstring FullPath(const std::wstring& path)
{
    std::wstring full;
    return Framework::ResolveFullPath(path, full) ? full : path;
}

// True when path names the file that input is open on (also through another name or a hard link).
bool IsSameFile(HANDLE input, const std::wstring& inputPath, const std::wstring& path)
{
    Framework::ScopedFile other(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!other)
        return false;
    BY_HANDLE_FILE_INFORMATION first;
    BY_HANDLE_FILE_INFORMATION second;
    if (GetFileInformationByHandle(input, &first) && GetFileInformationByHandle(other.Get(), &second)) {
        return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber
               && first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
    }
    const std::wstring a = FullPath(inputPath);
    const std::wstring b = FullPath(path);
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE)
           == CSTR_EQUAL;
}

}

ReadResult Win32ConverterFiles::ReadInput(const std::wstring& input, const std::wstring& output, std::string& text)
{
    Framework::ScopedFile file;
    if (DWORD error = Framework::OpenFileForReading(input, FILE_SHARE_READ, Framework::MissingFile::Fails, file))
        return error == ERROR_ACCESS_DENIED ? ReadResult::AccessDenied : ReadResult::CannotOpen;
    if (IsSameFile(file.Get(), input, output))
        return ReadResult::SameFile;

    switch (Framework::ReadToEnd(file.Get(), kMaxInputBytes, text)) {
    case 0:
        return ReadResult::Read;
    case ERROR_FILE_TOO_LARGE:
        return ReadResult::TooLarge;
    case ERROR_NOT_ENOUGH_MEMORY:
        // Reported as every other allocation failure of the run.
        throw std::bad_alloc();
    default:
        return ReadResult::CannotRead;
    }
}

bool Win32ConverterFiles::ReplaceOutput(const std::wstring& output, const std::string& text)
{
    return Framework::ReplaceWholeFile(output, FILE_ATTRIBUTE_NORMAL, text) == 0;
}

}}
