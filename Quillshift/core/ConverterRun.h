#pragma once
// One run of the converter: arguments in, exit code and message out. The files are reached through
// IConverterFiles, so the same steps run on Win32 files in the program and on stand-ins in the tests.
#include <string>
#include <vector>

namespace Orvane { namespace Quillshift {

enum class ReadResult {
    Read,
    AccessDenied,  // the system refused access to the input
    CannotOpen,    // missing, locked, bad name, ...
    CannotRead,    // opened, but the bytes could not be read
    TooLarge,      // too large to be held in memory at once
    SameFile,      // the output names the input file itself
};

class IConverterFiles {
public:
    // Reads the whole input into text. Also tells whether output is the input file itself, so that the
    // converter never writes over its own input.
    virtual ReadResult ReadInput(const std::wstring& input, const std::wstring& output, std::string& text) = 0;
    // Replaces the output with text in one step; on failure the old output stays as it was.
    virtual bool ReplaceOutput(const std::wstring& output, const std::string& text) = 0;

protected:
    ~IConverterFiles() = default;
};

// Exit code of the program; 0 or -1.
const int kExitSuccess = 0;
const int kExitFailure = -1;

// arguments: the command-line arguments behind the program name. message receives the line to print
// (empty for none).
int RunConverter(const std::vector<std::wstring>& arguments, IConverterFiles& files, std::string& message);

}}
