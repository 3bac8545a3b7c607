#pragma once
// The rule tester's one modeless, resizable dialog.
#include <windows.h>
#include <richedit.h>

#include <string>
#include <vector>

#include <Framework/DialogImpl.h>
#include <Framework/Handles.h>
#include <Framework/MessageLoop.h>
#include <RewriteConfig/RewriteConfig.h>

#include "resource.h"
#include "ProbeTexts.h"
#include "RuleLine.h"

namespace Orvane { namespace Quillprobe {

class CQuillprobeDlg : public Framework::CDialogImpl<CQuillprobeDlg>, public Framework::CMessageFilter {
public:
    enum { IDD = IDD_QUILLPROBE };

    // ruleArgument: the rule line from the command line, empty for the default line.
    explicit CQuillprobeDlg(std::wstring ruleArgument);
    ~CQuillprobeDlg() override;

    bool PreTranslateMessage(MSG* msg) override;

    // The rule line argument of a command line, empty when there is none.
    static std::wstring GetRuleArgument(const wchar_t* commandLine);

    FW_BEGIN_MSG_MAP(CQuillprobeDlg)
        FW_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        FW_MESSAGE_HANDLER(WM_SIZE, OnSize)
        FW_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        FW_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        FW_COMMAND_HANDLER(IDC_RULE, EN_CHANGE, OnRuleChange)
        FW_COMMAND_HANDLER(IDC_REGEXP, EN_CHANGE, OnRegexpChange)
        FW_COMMAND_HANDLER(IDC_FORMAT, EN_CHANGE, OnFormatChange)
        FW_COMMAND_HANDLER(IDC_TEST_STRING, EN_CHANGE, OnTestStringChange)
        FW_COMMAND_ID_HANDLER(IDC_SAVE, OnSave)
        FW_COMMAND_ID_HANDLER(IDC_TEST, OnTest)
        FW_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        FW_COMMAND_ID_HANDLER(IDC_HINT, OnHintMenu)
        FW_COMMAND_RANGE_HANDLER(ID_HINT_FIRST, ID_HINT_LAST, OnHint)
        FW_COMMAND_RANGE_HANDLER(IDC_NOCASE, IDC_LOOP, OnFlagCheck)
    FW_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnRuleChange(WORD, WORD, HWND, bool&);
    LRESULT OnRegexpChange(WORD, WORD, HWND, bool&);
    LRESULT OnFormatChange(WORD, WORD, HWND, bool&);
    LRESULT OnTestStringChange(WORD, WORD, HWND, bool&);
    LRESULT OnSave(WORD, WORD, HWND, bool&);
    LRESULT OnTest(WORD, WORD, HWND, bool&);
    LRESULT OnCancel(WORD, WORD, HWND, bool&);
    LRESULT OnHintMenu(WORD, WORD, HWND, bool&);
    LRESULT OnHint(WORD, WORD, HWND, bool&);
    LRESULT OnFlagCheck(WORD, WORD, HWND, bool&);

    void ComposeRuleLine();
    void HighlightRule(const RuleLineParts& parts);
    void ResetRuleFlags();
    void RunTest();
    // Runs the dialog's messages until the event is set or the time has passed; false when the
    // time passed or the program is ending (the quit message is posted again for the outer loop).
    bool WaitResponsive(HANDLE event, DWORD milliseconds);
    // A part field changed: store its text into the rule and compose the line, unless the
    // dialog itself is writing the field.
    void OnPartChange(HWND field, bool isPattern);

    // The text-colour routine. A rich edit that reported format changes as text changes would
    // otherwise call the change handlers back without end; they ignore changes made here.
    void SetTextColour(HWND field, COLORREF colour);

    // The Result field shows a message of the tester in red.
    void ShowMessage(const std::string& text);
    void SetTimeText(float milliseconds);
    // Runs a handler body; whatever it throws ends up in the Result field.
    template <typename Body>
    void Guarded(Body body);

    std::wstring ruleArgument_;

    HWND rule_ = nullptr;
    HWND regexp_ = nullptr;
    HWND testString_ = nullptr;
    HWND matchResults_ = nullptr;
    HWND format_ = nullptr;
    HWND result_ = nullptr;
    HWND save_ = nullptr;
    HWND nocaseBox_ = nullptr;
    HWND nextBox_ = nullptr;
    HWND loopBox_ = nullptr;
    HWND time_ = nullptr;
    HWND hintButton_ = nullptr;

    std::vector<std::wstring> hints_;
    Framework::ScopedMenu hintMenu_;
    Framework::ScopedIcon bigIcon_;
    Framework::ScopedIcon smallIcon_;
    Framework::ScopedIcon hintIcon_;
    Framework::CMessageLoop* loop_ = nullptr;

    Quillon::CfgRewriteRule workingRule_;
    unsigned char guard_ = 0;
    bool formatting_ = false;
    // A test runs: a second Test press while the dialog waits for it is ignored.
    bool testRunning_ = false;
};


template <typename Body>
void CQuillprobeDlg::Guarded(Body body)
{
    try {
        body();
    } catch (const std::exception& e) {
        try {
            ShowMessage(std::string(Texts::kTestFailed) + e.what());
        } catch (...) {
        }
    } catch (...) {
    }
}

// Creates the dialog and runs the thread's message loop until it ends; the program's exit code.
int RunQuillprobe(int showCommand, const std::wstring& ruleArgument);

// Exit code when the dialog cannot be created.
inline constexpr int kExitNoDialog = 1;

}}
