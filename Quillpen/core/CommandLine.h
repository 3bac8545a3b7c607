#pragma once
// Quillpen's command line: one file path, optionally in double quotes.
#include <string>

namespace Orvane { namespace Quillpen {

// The path the command line names; empty for an untitled window.
std::wstring PathFromCommandLine(const std::wstring& line);

}}
