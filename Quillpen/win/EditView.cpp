#include "EditView.h"

#include "EditorText.h"

#include "Framework/FileRead.h"
#include "Framework/FileReplace.h"
#include "Framework/ScopedState.h"

#include <cstring>
#include <vector>

namespace Orvane { namespace Quillpen {

namespace {

constexpr int kTabStopCount = 32;
constexpr int kTabWidthChars = 8;
// The largest file that is loaded: the control's text limit, a LONG, is set one above it.
constexpr unsigned long long kMaxLoadBytes = 0x7FFFFFEFull;
// A negative height asks for the character's height, not the cell's, in pixels.
constexpr int kFontHeight = -13;
constexpr int kTwipsPerInch = 1440;

// The loaded file as the control reads it, block by block.
struct LoadedText {
    const std::string& bytes;
    size_t position;
};

DWORD CALLBACK ReadLoadedBlock(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
{
    auto* text = reinterpret_cast<LoadedText*>(cookie);
    *done = 0;
    if (size <= 0)
        return ERROR_INSUFFICIENT_BUFFER;
    const size_t left = text->bytes.size() - text->position;
    size_t count = left < static_cast<size_t>(size) ? left : static_cast<size_t>(size);
    // A CR at the end of a block is kept for the next one: a CR LF cut in two would otherwise
    // become two line breaks.
    if (count > 1 && count < left && text->bytes[text->position + count - 1] == '\r')
        --count;
    std::memcpy(buffer, text->bytes.data() + text->position, count);
    text->position += count;
    *done = static_cast<LONG>(count);
    return 0;
}

DWORD CALLBACK WriteFileBlock(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done)
{
    HANDLE file = reinterpret_cast<HANDLE>(cookie);
    DWORD written = 0;
    if (!::WriteFile(file, buffer, static_cast<DWORD>(size), &written, nullptr) ||
        written != static_cast<DWORD>(size)) {
        *done = static_cast<LONG>(written);
        DWORD error = ::GetLastError();
        return error ? error : ERROR_WRITE_FAULT;
    }
    *done = static_cast<LONG>(written);
    return 0;
}

bool TextEquals(const std::wstring& a, const std::wstring& b, bool matchCase)
{
    if (a.size() != b.size())
        return false;
    if (matchCase)
        return a == b;
    return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                            static_cast<int>(b.size())) == CSTR_EQUAL;
}

}

LRESULT CEditView::OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, bool&)
{
    LRESULT result = DefaultProc(msg, wParam, lParam);
    if (result == -1)
        return -1;
    LimitText(kTextLimit);

    font_.Reset(::CreateFontW(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"Courier New"));
    if (font_)
        SetFont(font_.Get(), true);

    Framework::WindowDC dc(m_hWnd);
    if (dc && font_) {
        Framework::SelectedObject selected(dc.Get(), font_.Get());
        TEXTMETRICW metrics{};
        if (::GetTextMetricsW(dc.Get(), &metrics)) {
            int twips = ::MulDiv(metrics.tmAveCharWidth * kTabWidthChars, kTwipsPerInch, ::GetDeviceCaps(dc.Get(), LOGPIXELSX));
            if (twips > 0) {
                PARAFORMAT2 format{};
                format.dwMask = PFM_TABSTOPS;
                format.cTabCount = kTabStopCount;
                for (int i = 0; i < kTabStopCount; ++i)
                    format.rgxTabs[i] = (i + 1) * twips;
                SetParaFormat(format);
            }
        }
    }
    SetModify(false);
    return result;
}

LRESULT CEditView::OnDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    findDialog_.Destroy();
    handled = false;
    return 0;
}

void CEditView::UpdateCaretPosition()
{
    CHARRANGE selection = GetSel();
    LONG line = LineFromChar(selection.cpMax);
    caretLine_ = line < 0 ? 0 : static_cast<int>(line);
    // The column is counted on the caret's own line, and only up to the caret.
    LONG lineStart = LineIndex(caretLine_);
    LONG count = lineStart < 0 ? 0 : selection.cpMax - lineStart;
    if (count > 0) {
        LONG lineLength = LineLength(lineStart);
        if (count > lineLength)
            count = lineLength;
    }
    if (count > 0) {
        std::wstring text = GetTextRange(lineStart, lineStart + count);
        caretColumn_ = DisplayColumn(text.c_str(), text.size());
    } else {
        caretColumn_ = 0;
    }
}

std::wstring CEditView::CurrentLineText(LONG maxChars) const { return GetLineText(caretLine_, maxChars); }

LRESULT CEditView::OnCaretEvent(UINT msg, WPARAM wParam, LPARAM lParam, bool&)
{
    LRESULT result = DefaultProc(msg, wParam, lParam);
    if (!m_hWnd)
        return result;
    UpdateCaretPosition();
    ::SendMessageW(GetParent(), WM_CARET_MOVED, 0, 0);
    return result;
}

DWORD CEditView::LoadFile(const std::wstring& path)
{
    // Opened without sharing, and a missing file is created empty.
    Framework::ScopedFile file;
    if (DWORD error = Framework::OpenFileForReading(path, 0, Framework::MissingFile::IsCreated, file))
        return error;
    std::string bytes;
    if (DWORD error = Framework::ReadToEnd(file.Get(), kMaxLoadBytes, bytes))
        return error;
    // A file larger than the usual limit is read whole all the same: a cut text would be saved
    // over the file later.
    if (static_cast<long long>(bytes.size()) >= GetLimitText())
        LimitText(static_cast<LONG>(bytes.size()) + 1);
    LoadedText text{bytes, 0};
    DWORD error = StreamIn(SF_TEXT, ReadLoadedBlock, reinterpret_cast<DWORD_PTR>(&text));
    if (!error && text.position != bytes.size())
        error = ERROR_FILE_TOO_LARGE;
    return error;
}

DWORD CEditView::SaveFile(const std::wstring& path)
{
    // The file is replaced whole or not at all: a failed or interrupted save leaves it as it was.
    Framework::FileReplacement replacement;
    if (DWORD error = replacement.Begin(path, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE))
        return error;
    if (DWORD error = StreamOut(SF_TEXT, WriteFileBlock, reinterpret_cast<DWORD_PTR>(replacement.Handle())))
        return error;
    return replacement.Commit();
}

void CEditView::SetFileName(const std::wstring& path, const std::wstring& title)
{
    filePath_ = path;
    fileTitle_ = title;
    SetModify(false);
}

LRESULT CEditView::OnEditUndo(WORD, WORD, HWND, bool&)
{
    Undo();
    return 0;
}

LRESULT CEditView::OnEditCut(WORD, WORD, HWND, bool&)
{
    Cut();
    return 0;
}

LRESULT CEditView::OnEditCopy(WORD, WORD, HWND, bool&)
{
    Copy();
    return 0;
}

LRESULT CEditView::OnEditClear(WORD, WORD, HWND, bool&)
{
    Clear();
    return 0;
}

LRESULT CEditView::OnEditPaste(WORD, WORD, HWND, bool&)
{
    PasteSpecial(CF_TEXT);
    return 0;
}

LRESULT CEditView::OnEditSelectAll(WORD, WORD, HWND, bool&)
{
    SetSel(0, -1);
    return 0;
}

void CEditView::OpenFindDialog(bool findOnly)
{
    if (findDialog_.IsOpen()) {
        if (findDialog_.IsFindOnly() == findOnly) {
            ::SetFocus(findDialog_.GetHwnd());
            return;
        }
        findDialog_.Destroy();
    }
    DWORD flags = findOnly ? (FR_DOWN | FR_HIDEUPDOWN) : FR_DOWN;
    if (matchCase_)
        flags |= FR_MATCHCASE;
    if (wholeWord_)
        flags |= FR_WHOLEWORD;
    dialogIsFind_ = findOnly;
    if (!findDialog_.Create(findOnly, lastFindText_, std::wstring(), flags, m_hWnd)) {
        findDialog_.Forget();
        ::MessageBeep(0xFFFFFFFF);
        return;
    }
    ::ShowWindow(findDialog_.GetHwnd(), SW_SHOW);
}

LRESULT CEditView::OnEditFind(WORD, WORD, HWND, bool&)
{
    OpenFindDialog(true);
    return 0;
}

LRESULT CEditView::OnEditReplace(WORD, WORD, HWND, bool&)
{
    OpenFindDialog(false);
    return 0;
}

LRESULT CEditView::OnEditFindNext(WORD, WORD, HWND, bool&)
{
    if (lastFindText_.empty()) {
        OpenFindDialog(true);
        return 0;
    }
    if (!FindNext(false))
        ::MessageBeep(0xFFFFFFFF);
    return 0;
}

bool CEditView::FindNext(bool fromSelectionStart)
{
    if (lastFindText_.empty())
        return false;
    DWORD flags = FR_DOWN;
    if (matchCase_)
        flags |= FR_MATCHCASE;
    if (wholeWord_)
        flags |= FR_WHOLEWORD;
    CHARRANGE selection = GetSel();
    LONG from = fromSelectionStart ? selection.cpMin : selection.cpMax;
    CHARRANGE found = FindText(flags, from, -1, lastFindText_.c_str());
    if (found.cpMin < 0)
        return false;
    SetSel(found.cpMin, found.cpMax);
    return true;
}

void CEditView::TakeRequest(const FINDREPLACEW& request)
{
    lastFindText_ = Framework::CFindReplaceDialog::FindString(request);
    if (lastFindText_.size() > kFindTextChars - 1)
        lastFindText_.resize(kFindTextChars - 1);
    matchCase_ = Framework::CFindReplaceDialog::MatchCase(request);
    wholeWord_ = Framework::CFindReplaceDialog::MatchWholeWord(request);
}

void CEditView::ReplaceAll(const std::wstring& replaceWith)
{
    Framework::RedrawSuspension noRedraw(m_hWnd);
    if (!FindNext(true)) {
        ::MessageBeep(0xFFFFFFFF);
        return;
    }
    Framework::WaitCursor wait;
    // Each search starts after the text just put in, so a replacement that contains the searched
    // text is not found again.
    do {
        ReplaceSel(replaceWith, true);
        CHARRANGE after = GetSel();
        SetSel(after.cpMax, after.cpMax);
    } while (FindNext(true));
}

LRESULT CEditView::OnFindReplaceCmd(UINT, WPARAM, LPARAM lParam, bool&)
{
    auto* request = reinterpret_cast<FINDREPLACEW*>(lParam);
    if (!request || !findDialog_.Owns(request))
        return 0;
    if (Framework::CFindReplaceDialog::IsTerminating(*request)) {
        findDialog_.Forget();
        return 0;
    }
    TakeRequest(*request);
    if (Framework::CFindReplaceDialog::FindNext(*request)) {
        if (!FindNext(false))
            ::MessageBeep(0xFFFFFFFF);
    } else if (Framework::CFindReplaceDialog::ReplaceCurrent(*request)) {
        CHARRANGE selection = GetSel();
        if (selection.cpMin != selection.cpMax &&
            TextEquals(GetTextRange(selection.cpMin, selection.cpMax), lastFindText_, matchCase_))
            ReplaceSel(Framework::CFindReplaceDialog::ReplaceString(*request), true);
        if (!FindNext(false))
            ::MessageBeep(0xFFFFFFFF);
    } else if (Framework::CFindReplaceDialog::ReplaceAll(*request)) {
        ReplaceAll(Framework::CFindReplaceDialog::ReplaceString(*request));
    }
    return 0;
}

}}
