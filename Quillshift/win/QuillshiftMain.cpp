// Quillshift: converts one old-syntax file into the new configuration language.
#include <cstdio>
#include <string>
#include <vector>

#include "ConverterMessages.h"
#include "ConverterRun.h"
#include "Win32ConverterFiles.h"

int wmain(int argc, wchar_t* argv[])
{
    int exitCode = Orvane::Quillshift::kExitFailure;
    std::string message;
    try {
        std::vector<std::wstring> arguments;
        for (int i = 1; i < argc; ++i)
            arguments.emplace_back(argv[i]);
        Orvane::Quillshift::Win32ConverterFiles files;
        exitCode = Orvane::Quillshift::RunConverter(arguments, files, message);
    } catch (...) {
        message = Orvane::Quillshift::kMsgFailed;
        exitCode = Orvane::Quillshift::kExitFailure;
    }
    if (!message.empty())
        std::printf("%s\n", message.c_str());
    std::fflush(stdout);
    return exitCode;
}
