#pragma once
// Whole files for tests, byte for byte, in the host and the Windows build alike.
#include <filesystem>
#include <string>

namespace TestSupport {

// The whole content of a file; false (and bytes empty) when it cannot be opened.
bool TryReadWholeFile(const std::filesystem::path& path, std::string& bytes);
// The whole content of a file; throws std::runtime_error naming the file when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);
// Creates or truncates the file and writes the bytes; false when that fails.
bool WriteWholeFile(const std::filesystem::path& path, const std::string& bytes);

}
