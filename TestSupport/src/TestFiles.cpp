#include "TestSupport/TestFiles.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace TestSupport {

bool TryReadWholeFile(const std::filesystem::path& path, std::string& bytes)
{
    bytes.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
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
