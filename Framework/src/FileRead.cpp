#include "Framework/FileRead.h"

#include <new>
#include <stdexcept>

namespace Framework {

namespace {

constexpr DWORD kReadChunk = 64 * 1024;

// A failed call whose last error says nothing still counts as failed.
DWORD LastErrorOr(DWORD fallback) noexcept
{
    const DWORD error = ::GetLastError();
    return error ? error : fallback;
}

}

bool IsMissingFileError(DWORD error) noexcept
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

DWORD OpenFileForReading(const std::wstring& path, DWORD share, MissingFile missing, ScopedFile& file)
{
    const DWORD disposition = missing == MissingFile::IsCreated ? OPEN_ALWAYS : OPEN_EXISTING;
    file.Reset(::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, disposition,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return file ? 0 : LastErrorOr(ERROR_OPEN_FAILED);
}

DWORD ReadToEnd(HANDLE file, unsigned long long maxBytes, std::string& bytes)
{
    bytes.clear();
    try {
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(file, &size)) {
            const unsigned long long known = static_cast<unsigned long long>(size.QuadPart);
            if (size.QuadPart < 0 || known > maxBytes || known > bytes.max_size())
                return ERROR_FILE_TOO_LARGE;
            bytes.reserve(static_cast<size_t>(known));
        }
        std::string chunk(kReadChunk, '\0');
        for (;;) {
            DWORD read = 0;
            if (!::ReadFile(file, &chunk[0], kReadChunk, &read, nullptr)) {
                // A pipe whose writer has closed has ended; anything else is a failed read.
                if (::GetLastError() == ERROR_BROKEN_PIPE)
                    break;
                return LastErrorOr(ERROR_READ_FAULT);
            }
            if (read == 0)
                break;
            if (bytes.size() + read > maxBytes)
                return ERROR_FILE_TOO_LARGE;
            bytes.append(chunk, 0, read);
        }
    } catch (const std::length_error&) {
        return ERROR_FILE_TOO_LARGE;
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return 0;
}

DWORD ReadWholeFile(const std::wstring& path, DWORD share, unsigned long long maxBytes, NulByte nul,
                    std::string& bytes)
{
    bytes.clear();
    ScopedFile file;
    DWORD error = OpenFileForReading(path, share, MissingFile::Fails, file);
    if (!error)
        error = ReadToEnd(file.Get(), maxBytes, bytes);
    if (error) {
        bytes.clear();
        return error;
    }
    if (nul == NulByte::EndsText) {
        const size_t end = bytes.find('\0');
        if (end != std::string::npos)
            bytes.resize(end);
    }
    return 0;
}

}
