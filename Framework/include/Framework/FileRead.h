#pragma once
// Reads a whole file into memory, to its true end: the size known at opening is only a hint (a
// pipe has none), and a short read is not the end. Every function answers 0 or a system error
// code: the open's own code for a file that cannot be opened (IsMissingFileError tells a missing
// one), ERROR_FILE_TOO_LARGE beyond the caller's limit or what a string can hold,
// ERROR_NOT_ENOUGH_MEMORY when the bytes do not fit into memory, else the failed read's code.
#include <windows.h>
#include <string>

#include "Framework/Handles.h"

namespace Framework {

// A read limited only by what a string can hold.
constexpr unsigned long long kNoReadLimit = ~0ull;

// What opening a file that does not exist does.
enum class MissingFile { Fails, IsCreated };
// What a read keeps of a file that holds a NUL byte: every byte, or the text up to the first one.
enum class NulByte { Kept, EndsText };

// True for the codes of a file, or a folder on its path, that does not exist.
bool IsMissingFileError(DWORD error) noexcept;

// Opens path for reading, sharing it with others as share allows (FILE_SHARE_READ alone fails
// while another program has the file open for writing).
DWORD OpenFileForReading(const std::wstring& path, DWORD share, MissingFile missing, ScopedFile& file);

// Reads file from where it stands to its end (a pipe ends when its writer closes it), at most
// maxBytes. bytes: what was read; on failure what was read before it.
DWORD ReadToEnd(HANDLE file, unsigned long long maxBytes, std::string& bytes);

// Opens an existing file as OpenFileForReading does and reads it whole. bytes: empty unless 0.
DWORD ReadWholeFile(const std::wstring& path, DWORD share, unsigned long long maxBytes, NulByte nul,
                    std::string& bytes);

}
