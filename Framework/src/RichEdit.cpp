#include "Framework/RichEdit.h"

#include <vector>

namespace Framework {

namespace {

// The code page of UTF-16 (little-endian) text, in which the control counts and copies its text.
constexpr UINT kUtf16CodePage = 1200;

}

CHARRANGE CRichEditCtrl::GetSel() const
{
    CHARRANGE range{0, 0};
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void CRichEditCtrl::SetSel(LONG start, LONG end) const
{
    CHARRANGE range{start, end};
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void CRichEditCtrl::ReplaceSel(const std::wstring& text, bool canUndo) const
{
    SendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

LONG CRichEditCtrl::GetTextLength() const
{
    GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, kUtf16CodePage};
    LRESULT length = SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0);
    return length < 0 ? 0 : static_cast<LONG>(length);
}

bool CRichEditCtrl::GetTextWithCrLf(std::wstring& text) const
{
    text.clear();
    GETTEXTLENGTHEX query{GTL_USECRLF | GTL_NUMCHARS | GTL_PRECISE, kUtf16CodePage};
    LRESULT length = SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0);
    if (length < 0)
        return false;
    if (length == 0)
        return true;
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX request{};
    request.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    request.flags = GT_USECRLF;
    request.codepage = kUtf16CodePage;
    LRESULT copied = SendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                                 reinterpret_cast<LPARAM>(buffer.data()));
    if (copied <= 0)
        return false;
    text.assign(buffer.data(), static_cast<size_t>(copied) < buffer.size() ? static_cast<size_t>(copied)
                                                                            : buffer.size() - 1);
    return true;
}

std::wstring CRichEditCtrl::GetTextRange(LONG start, LONG end) const
{
    if (end <= start)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(end - start) + 1, L'\0');
    TEXTRANGEW range{{start, end}, buffer.data()};
    LRESULT copied = SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    if (copied <= 0)
        return std::wstring();
    size_t count = static_cast<size_t>(copied);
    if (count > buffer.size() - 1)
        count = buffer.size() - 1;
    return std::wstring(buffer.data(), count);
}

LONG CRichEditCtrl::LineFromChar(LONG position) const
{
    return static_cast<LONG>(SendMessage(EM_EXLINEFROMCHAR, 0, position));
}

LONG CRichEditCtrl::LineIndex(LONG line) const { return static_cast<LONG>(SendMessage(EM_LINEINDEX, line)); }

LONG CRichEditCtrl::LineLength(LONG position) const
{
    return static_cast<LONG>(SendMessage(EM_LINELENGTH, position));
}

LONG CRichEditCtrl::GetLineCount() const { return static_cast<LONG>(SendMessage(EM_GETLINECOUNT)); }

std::wstring CRichEditCtrl::GetLineText(LONG line, LONG maxChars) const
{
    LONG start = LineIndex(line);
    if (start < 0)
        return std::wstring();
    LONG length = LineLength(start);
    if (length < 0)
        return std::wstring();
    if (maxChars >= 0 && length > maxChars)
        length = maxChars;
    return GetTextRange(start, start + length);
}

bool CRichEditCtrl::SetParaFormat(PARAFORMAT2& format) const
{
    format.cbSize = sizeof(format);
    return SendMessage(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format)) != 0;
}

CHARRANGE CRichEditCtrl::FindText(DWORD flags, LONG from, LONG to, const wchar_t* text) const
{
    FINDTEXTEXW find{};
    find.chrg.cpMin = from;
    find.chrg.cpMax = to;
    find.lpstrText = text;
    LRESULT found = SendMessage(EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&find));
    if (found < 0)
        return CHARRANGE{-1, -1};
    return find.chrgText;
}

DWORD CRichEditCtrl::StreamIn(UINT format, EDITSTREAMCALLBACK callback, DWORD_PTR cookie) const
{
    EDITSTREAM stream{cookie, 0, callback};
    SendMessage(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError;
}

DWORD CRichEditCtrl::StreamOut(UINT format, EDITSTREAMCALLBACK callback, DWORD_PTR cookie) const
{
    EDITSTREAM stream{cookie, 0, callback};
    SendMessage(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError;
}

}
