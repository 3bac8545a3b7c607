#pragma once
// The top-level window of one editor: toolbar in a rebar, status bar with row and column, the
// edit view, and the commands Apply, Discard, RegExp test, Comment out and Uncomment.
#include "EditView.h"

#include "Framework/Bars.h"
#include "Framework/FrameWindow.h"
#include "Framework/UpdateUI.h"

#include <string>

namespace Orvane { namespace Quillpen {

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
        // The view's editing commands, which reach the frame from the toolbar and accelerators.
        FW_CHAIN_MSG_MAP_ALT_MEMBER(view_, 1)
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

    CEditView& View() noexcept { return view_; }
    Framework::CMultiPaneStatusBarCtrl& StatusBar() noexcept { return statusBar_; }

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

    Framework::CMultiPaneStatusBarCtrl statusBar_;
    CEditView view_;
    bool shownModified_ = false;
    std::wstring messageBuffer_;
    LONG selectionStart_ = 0;
    LONG selectionEnd_ = 0;
    LONG textLength_ = 0;
};

// Writes or refreshes the two header lines at the top of the view's text, without an undo step.
void WriteConfigHeader(CEditView& view);

}}
