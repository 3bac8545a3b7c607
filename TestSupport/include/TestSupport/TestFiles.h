#pragma once
// Whole files for tests, byte for byte, in the host and the Windows build alike. The Windows build
// reads through Framework's whole-file reader; the host build, which has no Framework, through
// the standard library.
#include <filesystem>
#include <string>
#include <vector>

namespace TestSupport {

// The whole content of a file; false (and bytes empty) when it cannot be opened or read.
bool TryReadWholeFile(const std::filesystem::path& path, std::string& bytes);
// The whole content of a file; throws std::runtime_error naming the file when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);
// Creates or truncates the file and writes the bytes; false when that fails.
bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);


// Contents that tell a reader keeping every byte from one that ends the text at the first NUL
// byte: each with the text the latter gives.
struct NulByteCase {
    const char* what;
    std::string bytes;
    std::string text;
};
const std::vector<NulByteCase>& NulByteCases();

#ifdef _WIN32
// Creates (or replaces) a sparse file of size bytes, all zero and hardly any on disk, for sizes
// beyond what 32 bits hold; false when it cannot.
bool CreateSparseFile(const std::filesystem::path& path, unsigned long long size);
#endif

}
