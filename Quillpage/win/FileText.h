#pragma once
// Whole-file reading and writing for the site property page and the proxy settings dialog: the
// names this module's callers use, over Framework's reader and FileReplacement, with their sharing
// and size limit. Configuration text is 8-bit text in the ANSI code page; the wide form is
// what the page shows.
#include <windows.h>

#include <string>

namespace Orvane::Quillon {

// How a read ended. Only a missing file (or folder on its path) counts as empty; a file that
// exists but cannot be opened or read is Unreadable.
enum class FileReadResult { Read, Missing, Unreadable };

// Files larger than this are no configuration files; they are reported Unreadable instead of being
// loaded into the host's memory.
constexpr unsigned long long kMaxFileTextBytes = 256ull * 1024 * 1024;

// The page's readers, which the loading of configuration objects uses too: share the file with
// readers and writers. text: the file up to its first NUL byte (empty unless Read); the wide form
// converts from the ANSI code page.
FileReadResult ReadWholeFile(const std::wstring& path, std::string& text);
FileReadResult ReadWholeFile(const std::wstring& path, std::wstring& text);
// Opens the file exactly as the page's readers do and closes it again: 0 when a read would get in
// now, else the open's system error code (ERROR_SHARING_VIOLATION while another program holds the
// file in a way that keeps the page's read out).
DWORD TryOpenForWholeFileRead(const std::wstring& path);

// The rewriter's reader: shares as ReadWholeFile but keeps every byte, NUL bytes included, so that
// a file written back loses nothing.
FileReadResult ReadWholeFileBytes(const std::wstring& path, std::string& bytes);

// Replaces the file by text whole or not at all (a temporary file beside it, flushed, moved over
// it in one step), marked hidden. False when any step fails, a short write included; the old file
// then stays as it was.
bool WriteWholeFile(const std::wstring& path, const std::string& text);

}
