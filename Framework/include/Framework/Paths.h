#pragma once
// Paths of modules and files, of any length.
#include <windows.h>

#include <string>

namespace Framework {

// The module's own full path; empty on failure.
std::wstring ModuleFileName(HMODULE module = nullptr);

// The folder of the module, with its trailing backslash ("C:\dist\"); empty on failure.
std::wstring ModuleFolder(HMODULE module = nullptr);

// The absolute form of a path and the position of its file name part (the length of the
// whole path when it ends in a separator); false when the path cannot be made absolute.
bool ResolveFullPath(const std::wstring& path, std::wstring& fullPath, size_t* fileNameStart = nullptr);

// The text with its environment references (%SystemDrive%) expanded by ExpandEnvironmentStringsW;
// the text as it stands when it holds none or cannot be expanded.
std::wstring ExpandEnvironmentText(const std::wstring& text);

}
