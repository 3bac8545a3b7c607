#include "TestSupport/TestFiles.h"

#include <fstream>
#include <stdexcept>

#ifdef _WIN32
#include "Framework/FileRead.h"
#include "Framework/Handles.h"

#include <winioctl.h>
#else
#include <iterator>
#endif

namespace TestSupport {

bool TryReadWholeFile(const std::filesystem::path& path, std::string& bytes)
{
#ifdef _WIN32
    // Shared with readers and writers, as a file opened by the C runtime is.
    return Framework::ReadWholeFile(path.wstring(), FILE_SHARE_READ | FILE_SHARE_WRITE, Framework::kNoReadLimit,
                                    Framework::NulByte::Kept, bytes) == 0;
#else
    bytes.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad()) {
        bytes.clear();
        return false;
    }
    return true;
#endif
}

std::string ReadWholeFile(const std::filesystem::path& path)
{
    std::string bytes;
    if (!TryReadWholeFile(path, bytes))
        throw std::runtime_error("cannot read " + path.string());
    return bytes;
}

bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

const std::vector<NulByteCase>& NulByteCases()
{
    static const std::vector<NulByteCase> cases = {
        {"plain", "RewriteEngine On\r\n", "RewriteEngine On\r\n"},
        {"a NUL byte inside", std::string("first\0second", 12), "first"},
        {"a NUL byte first", std::string("\0rest", 5), ""},
        {"empty", "", ""},
        {"8-bit text", "caf\xE9\n", "caf\xE9\n"},
    };
    return cases;
}

#ifdef _WIN32
bool CreateSparseFile(const std::filesystem::path& path, unsigned long long size)
{
    Framework::ScopedFile file(::CreateFileW(path.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // Without sparse support the file is merely large; its size is what the tests need.
    DWORD unused = 0;
    ::DeviceIoControl(file.Get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    return ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.Get());
}
#endif

}
