#pragma once
// Whole files for tests, byte for byte, in the host and the Windows build alike. The Windows build
// reads through Framework's whole-file reader; the host build, which has no Framework, through
// the standard library.
#include <filesystem>
#include <string>

namespace TestSupport {

// The whole content of a file; false (and bytes empty) when it cannot be opened or read.
bool TryReadWholeFile(const std::filesystem::path& path, std::string& bytes);
// The whole content of a file; throws std::runtime_error naming the file when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);
// Creates or truncates the file and writes the bytes; false when that fails.
bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

}
