#include "EditorText.h"

#include "Strings.h"

#include <RewriteConfig/RuleLine.h>

namespace Orvane { namespace Quillpen {

namespace {

bool IsRuleBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

}

int DisplayColumn(const wchar_t* text, size_t count)
{
    int column = 0;
    for (size_t i = 0; i < count && text; ++i) {
        if (text[i] == L'\t')
            column = (column / 8) * 8 + 8;
        else
            ++column;
    }
    return column;
}

LineRange CommentRange(long selectionStart, long selectionEnd)
{
    if (selectionStart > 0)
        return LineRange{selectionStart - 1, selectionEnd - 1, false};
    return LineRange{0, selectionEnd - 1, true};
}

std::wstring CommentOutText(const std::wstring& text, bool firstLine)
{
    std::wstring out;
    out.reserve(text.size() + 16);
    if (firstLine)
        out += L'#';
    for (wchar_t c : text) {
        out += c;
        if (c == L'\r')
            out += L'#';
    }
    return out;
}

std::wstring UncommentText(const std::wstring& text, bool firstLine)
{
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    if (firstLine && !text.empty() && text[0] == L'#')
        i = 1;
    for (; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'#')
            ++i;
    }
    return out;
}

std::wstring VersionText(unsigned major, unsigned minor, unsigned build, unsigned revision)
{
    return std::to_wstring(major) + L'.' + std::to_wstring(minor) + L'.' + std::to_wstring(build) + L'.' +
           std::to_wstring(revision);
}

bool HasConfigHeader(const std::wstring& firstLine, const std::wstring& secondLine)
{
    return firstLine.compare(0, std::wstring(kHeaderFirstLine).size(), kHeaderFirstLine) == 0 &&
           secondLine.compare(0, std::wstring(kHeaderVersionPrefix).size(), kHeaderVersionPrefix) == 0;
}

std::wstring ConfigHeaderText(const std::wstring& version, bool refresh)
{
    std::wstring text = std::wstring(kHeaderFirstLine) + L"\n" + kHeaderVersionPrefix + version + L"\n";
    if (!refresh)
        text += L"\n";
    return text;
}

bool IsRewriteRuleLine(const std::string& line)
{
    Orvane::Quillon::RuleLinePlaces places;
    return Orvane::Quillon::MatchRewriteRuleLine(line, Orvane::Quillon::RuleLineForm::Directive, places);
}

std::wstring ProbeParameters(const std::wstring& line, const std::string& ansiLine)
{
    if (!IsRewriteRuleLine(ansiLine))
        return std::wstring();
    size_t first = 0;
    size_t last = line.size();
    while (first < last && IsRuleBlank(line[first]))
        ++first;
    while (last > first && IsRuleBlank(line[last - 1]))
        --last;
    return L"\"" + line.substr(first, last - first) + L"\"";
}

}}
