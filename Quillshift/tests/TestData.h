#pragma once
// Fixture files of the converter's tests.
#include <initializer_list>
#include <string>

namespace QuillshiftTest {

// The whole content of a file under tests/data, byte for byte.
std::string ReadFixture(const std::string& name);

// The header lines every converted file starts with (RepeatLimit 200, no redirect handler).
std::string Header();

// Joins lines, each ended with CR LF.
std::string CrLfLines(std::initializer_list<const char*> lines);

}
