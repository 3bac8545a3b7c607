#pragma once
// Whole files as bytes, every byte kept (NUL bytes too), with the reason of a failure, so that a
// caller can tell a missing file from one it may not read.
#include <windows.h>

#include <string>

namespace Framework {

// Reads the whole file, letting others read and write it meanwhile; 0 or a system error code
// (ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND for a missing file). bytes is empty on failure.
DWORD ReadFileBytes(const std::wstring& path, std::string& bytes);

// True for the error codes of a file or folder that does not exist.
bool IsMissingFileError(DWORD error) noexcept;

// Replaces the file whole or not at all (FileReplacement) by the bytes, with the given attributes;
// 0 or a system error code. On failure the file stays as it was.
DWORD ReplaceFileBytes(const std::wstring& path, const std::string& bytes, DWORD attributes = FILE_ATTRIBUTE_NORMAL);

}
