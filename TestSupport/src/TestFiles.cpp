#include "TestSupport/TestFiles.h"

#include <fstream>
#include <stdexcept>

#ifdef _WIN32
#include "Framework/FileRead.h"
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

}
