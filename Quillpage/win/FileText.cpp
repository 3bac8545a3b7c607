#include "FileText.h"

#include <Framework/FileReplace.h>
#include <Framework/Handles.h>
#include <RewriteConfig/Platform.h>

#include <cstring>
#include <new>

namespace Orvane::Quillon {

namespace {

// Read in pieces until ReadFile reports the end: the size known at opening is only a hint, and a
// short read is not the end.
constexpr DWORD kReadChunk = 64 * 1024;
// WriteFile takes a 32-bit count: larger texts go in pieces of this size.
constexpr DWORD kWritePiece = 0x40000000u;

FileReadResult ReadAllBytes(const std::wstring& path, DWORD share, std::string& bytes)
{
    bytes.clear();
    Framework::ScopedFile file(::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileReadResult::Missing
                                                                              : FileReadResult::Unreadable;
    }
    try {
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(file.Get(), &size)) {
            if (static_cast<unsigned long long>(size.QuadPart) > kMaxFileTextBytes)
                return FileReadResult::Unreadable;
            bytes.reserve(static_cast<size_t>(size.QuadPart));
        }
        std::string chunk(kReadChunk, '\0');
        for (;;) {
            DWORD read = 0;
            if (!::ReadFile(file.Get(), &chunk[0], kReadChunk, &read, nullptr)) {
                // A pipe whose writer has closed has ended; anything else is a failed read.
                if (::GetLastError() == ERROR_BROKEN_PIPE)
                    break;
                bytes.clear();
                return FileReadResult::Unreadable;
            }
            if (read == 0)
                break;
            if (bytes.size() + read > kMaxFileTextBytes) {
                bytes.clear();
                return FileReadResult::Unreadable;
            }
            bytes.append(chunk, 0, read);
        }
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return FileReadResult::Unreadable;
    }
    return FileReadResult::Read;
}

void CutAtNul(std::string& text)
{
    const size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
}

}

bool ReadFileText(const std::wstring& path, std::string& text)
{
    std::string bytes;
    if (ReadAllBytes(path, FILE_SHARE_READ, bytes) != FileReadResult::Read)
        return false;
    CutAtNul(bytes);
    text.swap(bytes);
    return true;
}

FileReadResult ReadWholeFile(const std::wstring& path, std::string& text)
{
    const FileReadResult result = ReadAllBytes(path, FILE_SHARE_READ | FILE_SHARE_WRITE, text);
    CutAtNul(text);
    return result;
}

FileReadResult ReadWholeFile(const std::wstring& path, std::wstring& text)
{
    text.clear();
    std::string bytes;
    const FileReadResult result = ReadWholeFile(path, bytes);
    if (result == FileReadResult::Read)
        text = Platform::AnsiToWide(bytes);
    return result;
}

FileReadResult ReadWholeFileBytes(const std::wstring& path, std::string& bytes)
{
    return ReadAllBytes(path, FILE_SHARE_READ | FILE_SHARE_WRITE, bytes);
}

bool WriteAllBytes(HANDLE file, const std::string& bytes)
{
    size_t written = 0;
    while (written < bytes.size()) {
        const size_t left = bytes.size() - written;
        const DWORD piece = left > kWritePiece ? kWritePiece : static_cast<DWORD>(left);
        DWORD done = 0;
        if (!::WriteFile(file, bytes.data() + written, piece, &done, nullptr) || done != piece)
            return false;
        written += done;
    }
    return true;
}

bool WriteWholeFile(const std::wstring& path, const std::string& text)
{
    Framework::FileReplacement replacement;
    if (replacement.Begin(path, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_HIDDEN) != 0)
        return false;
    if (!WriteAllBytes(replacement.Handle(), text))
        return false;
    return replacement.Commit() == 0;
}

}
