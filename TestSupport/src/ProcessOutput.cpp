#include "TestSupport/ProcessOutput.h"

#include "Framework/FileRead.h"
#include "Framework/Handles.h"

#include <thread>
#include <vector>

namespace TestSupport {

ProcessResult RunProcess(const std::wstring& commandLine, DWORD timeoutMs)
{
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    Framework::ScopedHandle readEnd;
    Framework::ScopedHandle writeEnd;
    if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0))
        return result;
    // Only the child's end is inherited.
    ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    Framework::ScopedFile input(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                              OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input ? input.Get() : nullptr;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                          &info))
        return result;
    result.started = true;
    Framework::ScopedHandle process(info.hProcess);
    Framework::ScopedHandle thread(info.hThread);
    // Our copy of the write end goes, so the read ends when the program (and its children) close theirs.
    writeEnd.Reset();

    std::string& output = result.output;
    HANDLE pipe = readEnd.Get();
    // Until the pipe ends; a failed read keeps what came before it.
    std::thread reader([pipe, &output] { Framework::ReadToEnd(pipe, Framework::kNoReadLimit, output); });
    if (::WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        result.timedOut = true;
        ::TerminateProcess(process.Get(), 1);
        ::WaitForSingleObject(process.Get(), 5000);
    }
    reader.join();
    ::GetExitCodeProcess(process.Get(), &result.exitCode);
    return result;
}

}
