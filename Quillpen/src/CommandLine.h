#pragma once
// Quillpen's command line: one file path, optionally in double quotes.
#include <string>

namespace Quillpen {

// The path the command line names; empty for an untitled window.
std::wstring PathFromCommandLine(const std::wstring& line);

// The absolute path and its file name part; false when the path cannot be made absolute.
bool MakeFullPath(const std::wstring& path, std::wstring& fullPath, std::wstring& fileName);

}
