#include "TestData.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

namespace QuillshiftTest {

namespace {

std::string DataFolder()
{
#ifdef _WIN32
    // The build copies the fixtures beside the test programs; the source path is a host path.
    char module[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, module, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("module path not found");
    std::string folder(module, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + "quillshift-data/";
#else
    return QUILLSHIFT_TEST_DATA "/";
#endif
}

}

std::string ReadFixture(const std::string& name)
{
    std::ifstream file(DataFolder() + name, std::ios::binary);
    if (!file)
        throw std::runtime_error("fixture missing: " + name);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string Header()
{
    return "RewriteEngine On\r\nRewriteCompatibility2 On\r\nRepeatLimit 200\r\nRewriteBase \r\n";
}

std::string CrLfLines(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

}
