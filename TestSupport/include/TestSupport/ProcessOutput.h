#pragma once
// Runs a console program to its end and collects what it writes (standard output and error).
#include <windows.h>

#include <string>

namespace TestSupport {

struct ProcessResult {
    bool started = false;
    bool timedOut = false;  // the program was ended by its handle after the timeout
    DWORD exitCode = 0;
    std::string output;  // its bytes as written
};

// commandLine: the whole command line, program first. The program gets no console window and an
// empty standard input.
ProcessResult RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 30000);

}
