#pragma once
// The rich edit control (RICHED20.DLL, "RichEdit20W") as a plain-text editor.
// Positions count a paragraph break as one character.
#include "Framework/Window.h"

#include <richedit.h>
#include <string>

namespace Framework {

class CRichEditCtrl : public CWindow {
public:
    using CWindow::CWindow;
    static const wchar_t* GetWndClassName() noexcept { return L"RichEdit20W"; }

    CHARRANGE GetSel() const;
    void SetSel(LONG start, LONG end) const;
    void ReplaceSel(const std::wstring& text, bool canUndo) const;

    // Characters of the text, a paragraph break counted once.
    LONG GetTextLength() const;
    // The text with CR LF line breaks, as UTF-16.
    bool GetTextWithCrLf(std::wstring& text) const;
    // The characters of [start, end), paragraph breaks as CR.
    std::wstring GetTextRange(LONG start, LONG end) const;

    LONG LineFromChar(LONG position) const;
    LONG LineIndex(LONG line) const;
    LONG LineLength(LONG position) const;
    LONG GetLineCount() const;
    // The text of a 0-based line without its break, at most maxChars characters.
    std::wstring GetLineText(LONG line, LONG maxChars = -1) const;

    bool GetModify() const { return SendMessage(EM_GETMODIFY) != 0; }
    void SetModify(bool modified) const { SendMessage(EM_SETMODIFY, modified ? TRUE : FALSE); }
    bool CanUndo() const { return SendMessage(EM_CANUNDO) != 0; }
    bool CanPaste(UINT format = 0) const { return SendMessage(EM_CANPASTE, format) != 0; }
    void Undo() const { SendMessage(EM_UNDO); }
    void Cut() const { SendMessage(WM_CUT); }
    void Copy() const { SendMessage(WM_COPY); }
    void Clear() const { SendMessage(WM_CLEAR); }
    void PasteSpecial(UINT format) const { SendMessage(EM_PASTESPECIAL, format, 0); }
    void LimitText(LONG chars) const { SendMessage(EM_EXLIMITTEXT, 0, chars); }
    LONG GetLimitText() const { return static_cast<LONG>(SendMessage(EM_GETLIMITTEXT)); }
    void EmptyUndoBuffer() const { SendMessage(EM_EMPTYUNDOBUFFER); }
    bool SetParaFormat(PARAFORMAT2& format) const;

    // EM_FINDTEXTEXW from chars.cpMin to chars.cpMax; the found range, or cpMin -1.
    CHARRANGE FindText(DWORD flags, LONG from, LONG to, const wchar_t* text) const;

    // Streams through a callback; the stream's error (0 when all went well).
    DWORD StreamIn(UINT format, EDITSTREAMCALLBACK callback, DWORD_PTR cookie) const;
    DWORD StreamOut(UINT format, EDITSTREAMCALLBACK callback, DWORD_PTR cookie) const;
};

}
