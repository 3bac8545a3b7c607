#include "MainFrame.h"

#include "EditorText.h"
#include "ErrorDialog.h"
#include "SyntaxCheck.h"

#include "Common/ModuleVersionInfo.h"
#include "Framework/FileDialog.h"
#include "Framework/Format.h"
#include "Framework/Handles.h"
#include "Framework/Module.h"
#include "Framework/Paths.h"
#include "Framework/Resources.h"
#include "Framework/ShellStart.h"
#include "Framework/SystemError.h"
#include "RewriteConfig/Platform.h"

#include <iterator>

namespace Orvane { namespace Quillpen {

namespace {

constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL |
                             ES_SELECTIONBAR | ES_SAVESEL | ES_NOHIDESEL | ES_AUTOHSCROLL | ES_AUTOVSCROLL |
                             ES_MULTILINE;
constexpr LONG kProbeLineChars = 255;

struct ToolBarText {
    int command;
    const wchar_t* text;
};
const ToolBarText kToolBarTexts[] = {
    {ID_APPLY, kApplyButtonText},
    {ID_DISCARD, kDiscardButtonText},
    {ID_REGEXP_TEST, kRegExpTestButtonText},
    {ID_COMMENT_OUT, kCommentOutButtonText},
    {ID_UNCOMMENT, kUncommentButtonText},
};

const Framework::UpdateUIEntry kUpdateUIMap[] = {
    {ID_EDIT_UNDO, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {ID_EDIT_CUT, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {ID_EDIT_COPY, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {ID_EDIT_PASTE, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {ID_EDIT_CLEAR, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {ID_EDIT_SELECT_ALL, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {ID_EDIT_FIND, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {ID_EDIT_REPEAT, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {ID_EDIT_REPLACE, Framework::UPDUI_MENUPOPUP | Framework::UPDUI_TOOLBAR},
    {0, 0},
};

// The caption of the editor's message boxes: the frame's own name, string 128.
std::wstring EditorCaption() { return Framework::LoadResourceString(IDR_MAINFRAME); }

std::wstring FileNamePart(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}

const Framework::UpdateUIEntry* CMainFrame::GetUpdateUIMap() { return kUpdateUIMap; }

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, bool&)
{
    // The frame shows no menu bar.
    Framework::ScopedMenu menu(::GetMenu(m_hWnd));
    ::SetMenu(m_hWnd, nullptr);
    m_hMenu = nullptr;

    HWND toolbar = Framework::CreateSimpleToolBarCtrl(m_hWnd, IDR_TOOLBAR, false,
                                                      Framework::kSimpleToolBarPaneStyle | TBSTYLE_LIST,
                                                      Framework::kToolBarId);
    if (toolbar) {
        for (const ToolBarText& entry : kToolBarTexts)
            Framework::SetToolBarButtonText(toolbar, entry.command, entry.text);
        ::SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    }

    HWND rebar = Framework::CreateSimpleReBarCtrl(m_hWnd);
    if (rebar && toolbar) {
        Framework::AddSimpleReBarBand(rebar, toolbar);
        DWORD extended = static_cast<DWORD>(::SendMessageW(toolbar, TB_GETEXTENDEDSTYLE, 0, 0));
        ::SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, extended | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
        m_hWndToolBar = rebar;
    } else {
        m_hWndToolBar = toolbar;
    }

    m_hWndStatusBar = Framework::CreateSimpleStatusBar(m_hWnd, L"");
    if (m_hWndStatusBar && statusBar_.SubclassWindow(m_hWndStatusBar)) {
        const int panes[] = {Framework::kDefaultPaneId, ID_ROW_PANE, ID_COL_PANE};
        statusBar_.SetPanes(panes, static_cast<int>(std::size(panes)));
    }

    RECT area{0, 0, Framework::kUnplacedChildSize, Framework::kUnplacedChildSize};
    m_hWndClient = view_.Create(m_hWnd, &area, nullptr, kViewStyle, WS_EX_CLIENTEDGE);
    if (!m_hWndClient)
        return -1;

    if (toolbar)
        UIAddToolBar(toolbar);
    SendMessage(WM_CARET_MOVED);
    return 0;
}

LRESULT CMainFrame::OnCaretMoved(UINT, WPARAM, LPARAM, bool&)
{
    statusBar_.SetPaneText(ID_ROW_PANE, Framework::FormatText(kRowFormat, {view_.CaretLine() + 1}));
    statusBar_.SetPaneText(ID_COL_PANE, Framework::FormatText(kColumnFormat, {view_.CaretColumn() + 1}));
    return 0;
}

void CMainFrame::UpdateUIState()
{
    if (!view_.m_hWnd)
        return;
    bool modified = view_.GetModify();
    if (modified != shownModified_) {
        shownModified_ = modified;
        UpdateTitle();
    }
    CHARRANGE selection = view_.GetSel();
    bool hasSelection = selection.cpMin != selection.cpMax;
    bool hasText = view_.GetTextLength() > 0;
    UIEnable(ID_EDIT_UNDO, view_.CanUndo());
    UIEnable(ID_EDIT_PASTE, view_.CanPaste(CF_TEXT));
    UIEnable(ID_EDIT_CUT, hasSelection);
    UIEnable(ID_EDIT_COPY, hasSelection);
    UIEnable(ID_EDIT_CLEAR, hasSelection);
    UIEnable(ID_EDIT_SELECT_ALL, hasText);
    UIEnable(ID_EDIT_FIND, hasText);
    UIEnable(ID_EDIT_REPEAT, hasText);
    UIEnable(ID_EDIT_REPLACE, hasText);
    UIUpdateToolBar();
}

void CMainFrame::UpdateTitle()
{
    std::wstring caption = view_.FileTitle();
    if (view_.GetModify())
        caption += kModifiedMark;
    caption += kTitleSeparator;
    caption += Framework::LoadResourceString(IDR_MAINFRAME);
    SetWindowText(caption.c_str());
}

LRESULT CMainFrame::OnApply(WORD, WORD, HWND, bool&)
{
    if (!view_.GetModify()) {
        PostMessage(WM_CLOSE);
        return 0;
    }
    if (CheckSyntax() && SaveConfigFile())
        PostMessage(WM_CLOSE);
    return 0;
}

LRESULT CMainFrame::OnDiscard(WORD, WORD, HWND, bool&)
{
    view_.SetModify(false);
    PostMessage(WM_CLOSE);
    return 0;
}

LRESULT CMainFrame::OnClose(UINT, WPARAM, LPARAM, bool& handled)
{
    if (!view_.GetModify()) {
        handled = false;
        return 0;
    }
    std::wstring question = Framework::FormatText(kSaveChangesFormat, {view_.FileTitle()});
    int answer = MessageBox(question.c_str(), EditorCaption().c_str(), MB_YESNOCANCEL | MB_ICONWARNING);
    if (answer == IDNO) {
        handled = false;
        return 0;
    }
    if (answer == IDYES && CheckSyntax() && SaveConfigFile()) {
        handled = false;
        return 0;
    }
    return 0;
}

LRESULT CMainFrame::OnContextMenu(UINT, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (reinterpret_cast<HWND>(wParam) != view_.m_hWnd) {
        handled = false;
        return 0;
    }
    Framework::ScopedMenu menu(::LoadMenuW(Framework::Module().GetResourceInstance(), MAKEINTRESOURCEW(IDR_CONTEXTMENU)));
    if (!menu)
        return 0;
    HMENU popup = ::GetSubMenu(menu.Get(), 0);
    if (popup)
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), 0, m_hWnd, nullptr);
    return 0;
}

void CMainFrame::RememberSelection()
{
    CHARRANGE selection = view_.GetSel();
    selectionStart_ = selection.cpMin;
    selectionEnd_ = selection.cpMax;
    textLength_ = view_.GetTextLength();
}

void CMainFrame::RestoreSelectionMoved(LONG startShift, LONG endShift)
{
    view_.SetSel(selectionStart_ + startShift, selectionEnd_ + endShift);
}

bool CMainFrame::OpenConfigFile(const std::wstring& fullPath, const std::wstring& fileTitle)
{
    DWORD error = view_.LoadFile(fullPath);
    if (error) {
        ShowFileError(error, kOpeningWord, &fullPath);
        return false;
    }
    view_.SetFileName(fullPath, fileTitle);
    view_.EmptyUndoBuffer();
    UpdateTitle();
    return true;
}

void CMainFrame::NewConfigFile()
{
    view_.SetSel(0, -1);
    view_.ReplaceSel(std::wstring(), false);
    view_.SetFileName(std::wstring(), kUntitledTitle);
    view_.EmptyUndoBuffer();
    UpdateTitle();
}

bool CMainFrame::SaveConfigFile()
{
    if (view_.GetTextLength() == 0) {
        // An empty text deletes the file. A file that stays (read-only, or open elsewhere) keeps its
        // old text, so that is reported as a failed save and the window stays; one already gone is
        // what was asked for.
        if (!view_.FilePath().empty() && !::DeleteFileW(view_.FilePath().c_str())) {
            DWORD error = ::GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
                ShowFileError(error ? error : ERROR_ACCESS_DENIED, kSavingWord, nullptr);
                return false;
            }
        }
        view_.SetModify(false);
        return true;
    }
    RememberSelection();
    WriteConfigHeader(view_);
    LONG added = view_.GetTextLength() - textLength_;
    RestoreSelectionMoved(added, added);

    if (view_.FilePath().empty())
        return SaveConfigFileAs();
    DWORD error = view_.SaveFile(view_.FilePath());
    if (error) {
        ShowFileError(error, kSavingWord, nullptr);
        return false;
    }
    view_.SetModify(false);
    return true;
}

bool CMainFrame::SaveConfigFileAs()
{
    // The platform's own dialog over the active window: no default extension, initial name or filter.
    Framework::FileDialog dialog(false, L"", L"", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, {},
                                 Framework::FileDialog::Form::Platform);
    if (dialog.DoModal() != IDOK)
        return false;
    const std::wstring chosen = dialog.FileName();
    DWORD error = view_.SaveFile(chosen);
    if (error) {
        ShowFileError(error, kSavingWord, &chosen);
        return false;
    }
    view_.SetFileName(chosen, FileNamePart(chosen));
    UpdateTitle();
    return true;
}

void CMainFrame::ShowFileError(DWORD code, const wchar_t* operation, const std::wstring* path)
{
    messageBuffer_ = Framework::FormatText(kFileErrorFormat, {operation, path ? *path : view_.FilePath(),
                                                               static_cast<long long>(code),
                                                               Framework::SystemErrorText(code)});
    MessageBox(messageBuffer_.c_str(), EditorCaption().c_str(), MB_ICONERROR | MB_OK);
}

bool CMainFrame::CheckSyntax()
{
    if (view_.GetTextLength() < 1)
        return true;
    std::wstring text;
    if (!view_.GetTextWithCrLf(text) || text.empty())
        return false;
    std::string errors;
    if (!CollectSyntaxErrors(Orvane::Quillon::Platform::WideToAnsi(text), errors))
        return false;
    if (errors.empty())
        return true;
    ErrorDialog dialog(errors);
    dialog.DoModal(::GetActiveWindow());
    return false;
}

LRESULT CMainFrame::OnCommentOut(WORD, WORD, HWND, bool&)
{
    RememberSelection();
    if (selectionStart_ == selectionEnd_) {
        LONG lineStart = view_.LineIndex(view_.CaretLine());
        if (lineStart < 0)
            return 0;
        view_.SetSel(lineStart, lineStart);
        view_.ReplaceSel(L"#", true);
        RestoreSelectionMoved(1, 1);
        return 0;
    }
    LineRange range = CommentRange(selectionStart_, selectionEnd_);
    std::wstring text = view_.GetTextRange(range.start, range.end);
    std::wstring changed = CommentOutText(text, range.firstLine);
    view_.SetSel(range.start, range.end);
    view_.ReplaceSel(changed, true);
    RestoreSelectionMoved(0, static_cast<LONG>(changed.size() - text.size()));
    return 0;
}

LRESULT CMainFrame::OnUncomment(WORD, WORD, HWND, bool&)
{
    RememberSelection();
    if (selectionStart_ == selectionEnd_) {
        LONG lineStart = view_.LineIndex(view_.CaretLine());
        if (lineStart < 0 || view_.GetTextRange(lineStart, lineStart + 1) != L"#")
            return 0;
        view_.SetSel(lineStart, lineStart + 1);
        view_.ReplaceSel(std::wstring(), true);
        RestoreSelectionMoved(-1, -1);
        return 0;
    }
    LineRange range = CommentRange(selectionStart_, selectionEnd_);
    std::wstring text = view_.GetTextRange(range.start, range.end);
    std::wstring changed = UncommentText(text, range.firstLine);
    if (changed != text) {
        view_.SetSel(range.start, range.end);
        view_.ReplaceSel(changed, true);
    }
    RestoreSelectionMoved(0, static_cast<LONG>(changed.size()) - static_cast<LONG>(text.size()));
    return 0;
}

std::wstring CMainFrame::ProbeProgramPath()
{
    return Framework::ModuleFolder() + kProbeProgram;
}

LRESULT CMainFrame::OnRegExpTest(WORD, WORD, HWND, bool&)
{
    std::wstring program = ProbeProgramPath();
    std::wstring line = view_.CurrentLineText(kProbeLineChars);
    std::wstring parameters = ProbeParameters(line, Orvane::Quillon::Platform::WideToAnsi(line));
    // A missing program shows nothing.
    Framework::StartProgram(m_hWnd, program, parameters, SW_SHOWDEFAULT);
    return 0;
}

void WriteConfigHeader(CEditView& view)
{
    std::wstring first = view.GetLineText(0);
    std::wstring second = view.GetLineCount() > 1 ? view.GetLineText(1) : std::wstring();

    WORD major = 0, minor = 0, build = 0, revision = 0;
    ModuleVersionInfo info;
    if (!info.Load(Framework::Module().GetModuleInstance()) || !info.GetProductVersion(major, minor, build, revision))
        major = minor = build = revision = 0;
    std::wstring version = VersionText(major, minor, build, revision);

    if (HasConfigHeader(first, second)) {
        // The header is refreshed in place, so the text keeps its number of lines.
        LONG end = view.LineIndex(kConfigHeaderLines);
        if (end < 0)
            end = view.GetTextLength();
        view.SetSel(0, end);
        view.ReplaceSel(ConfigHeaderText(version, true), false);
    } else {
        view.SetSel(0, 0);
        view.ReplaceSel(ConfigHeaderText(version, false), false);
    }
}

}}
