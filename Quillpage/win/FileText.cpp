#include "FileText.h"

#include <Framework/FileRead.h>
#include <Framework/FileReplace.h>
#include <RewriteConfig/Platform.h>

namespace Orvane::Quillon {

namespace {

// Every reader admits writers: a file another program writes is still read, as that program left it.
constexpr DWORD kShareWithWriters = FILE_SHARE_READ | FILE_SHARE_WRITE;

FileReadResult ReadWithin(const std::wstring& path, Framework::NulByte nul, std::string& bytes)
{
    const DWORD error = Framework::ReadWholeFile(path, kShareWithWriters, kMaxFileTextBytes, nul, bytes);
    if (!error)
        return FileReadResult::Read;
    return Framework::IsMissingFileError(error) ? FileReadResult::Missing : FileReadResult::Unreadable;
}

}

FileReadResult ReadWholeFile(const std::wstring& path, std::string& text)
{
    return ReadWithin(path, Framework::NulByte::EndsText, text);
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
    return ReadWithin(path, Framework::NulByte::Kept, bytes);
}

bool WriteWholeFile(const std::wstring& path, const std::string& text)
{
    return Framework::ReplaceWholeFile(path, FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_HIDDEN, text) == 0;
}

}
