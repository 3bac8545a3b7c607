#pragma once
// The text area of a Quillpen window: a rich edit control used as a plain-text editor in a
// fixed-pitch font, with caret row/column tracking, the editing commands, find and replace, and
// the path and title of the edited file.
#include "Messages.h"
#include "Strings.h"

#include "Framework/FindReplace.h"
#include "Framework/Handles.h"
#include "Framework/RichEdit.h"
#include "Framework/WindowImpl.h"

#include "resource.h"

#include <string>

namespace Orvane { namespace Quillpen {

class CEditView : public Framework::CWindowImpl<CEditView, Framework::CRichEditCtrl> {
public:
    FW_DECLARE_WND_SUPERCLASS(kViewClassName, Framework::CRichEditCtrl::GetWndClassName())

    static constexpr LONG kTextLimit = 4000000;
    static constexpr size_t kFindTextChars = 128;

    CEditView() = default;

    FW_BEGIN_MSG_MAP(CEditView)
        FW_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        FW_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        FW_MESSAGE_HANDLER(WM_KEYDOWN, OnCaretEvent)
        FW_MESSAGE_HANDLER(WM_KEYUP, OnCaretEvent)
        FW_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnCaretEvent)
        FW_MESSAGE_HANDLER(Framework::CFindReplaceDialog::GetFindReplaceMsg(), OnFindReplaceCmd)
    FW_ALT_MSG_MAP(1)
        FW_COMMAND_ID_HANDLER(ID_EDIT_UNDO, OnEditUndo)
        FW_COMMAND_ID_HANDLER(ID_EDIT_CUT, OnEditCut)
        FW_COMMAND_ID_HANDLER(ID_EDIT_COPY, OnEditCopy)
        FW_COMMAND_ID_HANDLER(ID_EDIT_CLEAR, OnEditClear)
        FW_COMMAND_ID_HANDLER(ID_EDIT_PASTE, OnEditPaste)
        FW_COMMAND_ID_HANDLER(ID_EDIT_SELECT_ALL, OnEditSelectAll)
        FW_COMMAND_ID_HANDLER(ID_EDIT_FIND, OnEditFind)
        FW_COMMAND_ID_HANDLER(ID_EDIT_REPEAT, OnEditFindNext)
        FW_COMMAND_ID_HANDLER(ID_EDIT_REPLACE, OnEditReplace)
    FW_END_MSG_MAP()

    // 0 or a system error code.
    DWORD LoadFile(const std::wstring& path);
    DWORD SaveFile(const std::wstring& path);
    void SetFileName(const std::wstring& path, const std::wstring& title);
    const std::wstring& FilePath() const noexcept { return filePath_; }
    const std::wstring& FileTitle() const noexcept { return fileTitle_; }

    int CaretLine() const noexcept { return caretLine_; }
    int CaretColumn() const noexcept { return caretColumn_; }
    // Reads the caret line and column from the selection end.
    void UpdateCaretPosition();
    // The text of the caret line, at most maxChars characters.
    std::wstring CurrentLineText(LONG maxChars = -1) const;

    // The open find or replace dialog, or null; the thread's loop offers it its messages first.
    HWND FindDialogWindow() const noexcept { return findDialog_.GetHwnd(); }
    bool FindDialogIsFind() const noexcept { return dialogIsFind_; }

    // Searches downward from the selection end (or start) and selects what it finds.
    bool FindNext(bool fromSelectionStart);

    LRESULT OnEditFind(WORD, WORD, HWND, bool&);
    LRESULT OnEditReplace(WORD, WORD, HWND, bool&);
    LRESULT OnEditFindNext(WORD, WORD, HWND, bool&);

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnCaretEvent(UINT msg, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnFindReplaceCmd(UINT, WPARAM, LPARAM lParam, bool&);
    LRESULT OnEditUndo(WORD, WORD, HWND, bool&);
    LRESULT OnEditCut(WORD, WORD, HWND, bool&);
    LRESULT OnEditCopy(WORD, WORD, HWND, bool&);
    LRESULT OnEditClear(WORD, WORD, HWND, bool&);
    LRESULT OnEditPaste(WORD, WORD, HWND, bool&);
    LRESULT OnEditSelectAll(WORD, WORD, HWND, bool&);

    void OpenFindDialog(bool findOnly);
    void TakeRequest(const FINDREPLACEW& request);
    void ReplaceAll(const std::wstring& replaceWith);

    Framework::ScopedFont font_;
    int caretLine_ = 0;
    int caretColumn_ = 0;
    std::wstring filePath_;
    std::wstring fileTitle_;
    Framework::CFindReplaceDialog findDialog_;
    std::wstring lastFindText_;
    bool matchCase_ = false;
    bool wholeWord_ = false;
    bool dialogIsFind_ = true;
};

}}
