#pragma once
// The text logic of the editor's commands, on plain strings: caret column, comment and
// uncomment of a selection's lines, the configuration header, and the rule-line test.
// Paragraph breaks are single CR characters, as the rich edit control gives them.
#include <string>

namespace Orvane { namespace Quillpen {

// The display column after the first `count` characters of a line; tabs stop at multiples of 8.
int DisplayColumn(const wchar_t* text, size_t count);

// The range a comment command works on for the selection [start, end) (end > start): from the
// character before the selection, or from 0 with the first line marked.
struct LineRange {
    long start;
    long end;
    bool firstLine;
};
LineRange CommentRange(long selectionStart, long selectionEnd);

// "#" after every CR, and in front when the first line is marked.
std::wstring CommentOutText(const std::wstring& text, bool firstLine);
// One "#" less after every CR, and at the front when the first line is marked.
std::wstring UncommentText(const std::wstring& text, bool firstLine);

// "3.0.0.25"
std::wstring VersionText(unsigned major, unsigned minor, unsigned build, unsigned revision);
// The lines of the version header at the top of a configuration file.
constexpr int kConfigHeaderLines = 2;
// True when the two first lines are a header that is refreshed in place.
bool HasConfigHeader(const std::wstring& firstLine, const std::wstring& secondLine);
// The header as inserted (with a blank line after it) or as a refreshed replacement.
std::wstring ConfigHeaderText(const std::wstring& version, bool refresh);

// Whole-line match of the rule pattern, case-insensitive.
bool IsRewriteRuleLine(const std::string& line);
// The parameters Quillprobe gets for the current line: the trimmed line in double quotes, or
// nothing when the line is no rule.
std::wstring ProbeParameters(const std::wstring& line, const std::string& ansiLine);

}}
