#include "Win32ConverterFiles.h"

#include <cstdint>
#include <string>

#include <windows.h>

#include "Framework/FileReplace.h"
#include "Framework/Handles.h"
#include "Framework/Paths.h"

namespace Orvane { namespace Quillshift {

namespace {

// Reads and writes go in pieces of this size, well inside what one ReadFile or WriteFile takes.
const DWORD kChunkSize = 16u * 1024u * 1024u;

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

bool WriteAll(HANDLE file, const std::string& text)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const std::size_t left = text.size() - written;
        const DWORD piece = left < kChunkSize ? static_cast<DWORD>(left) : kChunkSize;
        DWORD done = 0;
        if (!WriteFile(file, text.data() + written, piece, &done, nullptr) || done == 0)
            return false;
        written += done;
    }
    return true;
}

}

ReadResult Win32ConverterFiles::ReadInput(const std::wstring& input, const std::wstring& output, std::string& text)
{
    Framework::ScopedFile file(CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError() == ERROR_ACCESS_DENIED ? ReadResult::AccessDenied : ReadResult::CannotOpen;
    if (IsSameFile(file.Get(), input, output))
        return ReadResult::SameFile;

    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0)
        return ReadResult::CannotRead;
    const std::uint64_t length = static_cast<std::uint64_t>(size.QuadPart);
    if (length >= (std::uint64_t(1) << 32) || length > text.max_size())
        return ReadResult::TooLarge;

    text.resize(static_cast<std::size_t>(length));
    std::size_t done = 0;
    while (done < text.size()) {
        const std::size_t left = text.size() - done;
        const DWORD piece = left < kChunkSize ? static_cast<DWORD>(left) : kChunkSize;
        DWORD got = 0;
        if (!ReadFile(file.Get(), &text[done], piece, &got, nullptr) || got == 0)
            return ReadResult::CannotRead;
        done += got;
    }
    return ReadResult::Read;
}

bool Win32ConverterFiles::ReplaceOutput(const std::wstring& output, const std::string& text)
{
    Framework::FileReplacement replacement;
    if (replacement.Begin(output, FILE_ATTRIBUTE_NORMAL) != 0)
        return false;
    if (!WriteAll(replacement.Handle(), text))
        return false;
    return replacement.Commit() == 0;
}

}}
