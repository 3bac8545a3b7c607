#include "FileText.h"

#include <Framework/FileRead.h>
#include <Framework/FileReplace.h>
#include <RewriteConfig/Platform.h>

namespace Orvane::Quillon {

namespace {

// The page and the dialog admit writers; the parser shares with readers only.
constexpr DWORD kShareWithWriters = FILE_SHARE_READ | FILE_SHARE_WRITE;

FileReadResult ReadWithin(const std::wstring& path, DWORD share, Framework::NulByte nul, std::string& bytes)
{
    const DWORD error = Framework::ReadWholeFile(path, share, kMaxFileTextBytes, nul, bytes);
    if (!error)
        return FileReadResult::Read;
    return Framework::IsMissingFileError(error) ? FileReadResult::Missing : FileReadResult::Unreadable;
}

}

bool ReadFileText(const std::wstring& path, std::string& text)
{
    std::string bytes;
    if (ReadWithin(path, FILE_SHARE_READ, Framework::NulByte::EndsText, bytes) != FileReadResult::Read)
        return false;
    text.swap(bytes);
    return true;
}

FileReadResult ReadWholeFile(const std::wstring& path, std::string& text)
{
    return ReadWithin(path, kShareWithWriters, Framework::NulByte::EndsText, text);
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

DWORD TryOpenForWholeFileRead(const std::wstring& path)
{
    Framework::ScopedFile file;
    return Framework::OpenFileForReading(path, kShareWithWriters, Framework::MissingFile::Fails, file);
}

FileReadResult ReadWholeFileBytes(const std::wstring& path, std::string& bytes)
{
    return ReadWithin(path, kShareWithWriters, Framework::NulByte::Kept, bytes);
}

bool WriteWholeFile(const std::wstring& path, const std::string& text)
{
    return Framework::ReplaceWholeFile(path, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_HIDDEN, text) == 0;
}

}
