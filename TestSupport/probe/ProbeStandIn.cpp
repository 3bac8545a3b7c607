// Stands in for the rule tester in tests: writes the parameters it was started with (the command
// line after the program name, as UTF-8) to "probe-args.txt" beside itself and ends.
#include <windows.h>

#include <string>

#include "Framework/Handles.h"
#include "Framework/Paths.h"

int wmain()
{
    std::wstring line = ::GetCommandLineW();
    size_t start = 0;
    if (!line.empty() && line[0] == L'"') {
        size_t close = line.find(L'"', 1);
        start = close == std::wstring::npos ? line.size() : close + 1;
    } else {
        start = line.find(L' ');
        if (start == std::wstring::npos)
            start = line.size();
    }
    while (start < line.size() && line[start] == L' ')
        ++start;
    std::wstring parameters = line.substr(start);

    std::wstring path = Framework::ModuleFolder() + L"probe-args.txt";

    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, parameters.c_str(), static_cast<int>(parameters.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, parameters.c_str(), static_cast<int>(parameters.size()), &utf8[0], bytes,
                              nullptr, nullptr);
    Framework::ScopedFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return 1;
    DWORD written = 0;
    ::WriteFile(file.Get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    return 0;
}
