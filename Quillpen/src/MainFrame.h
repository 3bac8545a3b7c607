#pragma once
// The top-level window of one editor: toolbar in a rebar, status bar with row and column, the
// edit view, and the commands Apply, Discard, RegExp test, Comment out and Uncomment.
#include "EditView.h"

#include "Framework/Bars.h"
#include "Framework/FrameWindow.h"
#include "Framework/UpdateUI.h"

#include <string>

namespace Quillpen {

class CMainFrame : public Framework::CFrameWindowImpl<CMainFrame>,
                   public Framework::CUpdateUI<CMainFrame> {
public:
    FW_DECLARE_FRAME_WND_CLASS(kFrameClassName, IDR_MAINFRAME)

    static const Framework::UpdateUIEntry* GetUpdateUIMap();

    CMainFrame() = default;
    ~CMainFrame() override = default;

    FW_BEGIN_MSG_MAP(CMainFrame)
        FW_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        FW_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        FW_MESSAGE_HANDLER(WM_CARET_MOVED, OnCaretMoved)
        FW_COMMAND_ID_HANDLER(ID_APPLY, OnApply)
        FW_COMMAND_ID_HANDLER(ID_DISCARD, OnDiscard)
        FW_COMMAND_ID_HANDLER(ID_REGEXP_TEST, OnRegExpTest)
        FW_COMMAND_ID_HANDLER(ID_COMMENT_OUT, OnCommentOut)
        FW_COMMAND_ID_HANDLER(ID_UNCOMMENT, OnUncomment)
        FW_MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        FW_CHAIN_MSG_MAP(Framework::CUpdateUI<CMainFrame>)
        FW_CHAIN_MSG_MAP(Framework::CFrameWindowImpl<CMainFrame>)
        if (uMsg == WM_COMMAND)
            FW_CHAIN_MSG_MAP_ALT_MEMBER(m_view, 1)
    FW_END_MSG_MAP()

    // Load and save (the file of the window).
    bool OpenConfigFile(const std::wstring& fullPath, const std::wstring& fileTitle);
    void NewConfigFile();
    bool SaveConfigFile();
    bool SaveConfigFileAs();
    void ShowFileError(DWORD code, const wchar_t* operation, const std::wstring* path);

    // The syntax check; true when the text may be saved.
    bool CheckSyntax();

    // The idle update: title, enabled commands, toolbar.
    void UpdateUIState();
    void UpdateTitle();
    void RememberSelection();

    CEditView& View() noexcept { return m_view; }
    Framework::CMultiPaneStatusBarCtrl& StatusBar() noexcept { return m_statusBar; }

    // The program Ctrl+T starts: Quillprobe beside the running executable.
    static std::wstring ProbeProgramPath();

    LRESULT OnCommentOut(WORD, WORD, HWND, bool&);
    LRESULT OnUncomment(WORD, WORD, HWND, bool&);
    LRESULT OnRegExpTest(WORD, WORD, HWND, bool&);

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnCaretMoved(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnApply(WORD, WORD, HWND, bool&);
    LRESULT OnDiscard(WORD, WORD, HWND, bool&);
    LRESULT OnContextMenu(UINT, WPARAM wParam, LPARAM lParam, bool&);

    void RestoreSelectionMoved(LONG startShift, LONG endShift);

    Framework::CMultiPaneStatusBarCtrl m_statusBar;
    CEditView m_view;
    bool m_shownModified = false;
    std::wstring m_messageBuffer;
    LONG m_selectionStart = 0;
    LONG m_selectionEnd = 0;
    LONG m_textLength = 0;
};

// Writes or refreshes the two header lines at the top of the view's text, without an undo step.
void WriteConfigHeader(CEditView& view);

}
