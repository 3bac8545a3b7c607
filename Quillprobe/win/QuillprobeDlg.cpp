#include "QuillprobeDlg.h"

#include <shellapi.h>

#include <initializer_list>

#include <Framework/Module.h>
#include <Framework/Resources.h>
#include <Framework/Window.h>
#include <Framework/WindowPlacement.h>

#include "DialogLayout.h"
#include "MessageText.h"
#include "ProbeTexts.h"
#include "RichEditFormat.h"
#include "RuleArgument.h"

namespace Orvane { namespace Quillprobe {

namespace {

// The texts the hint menu inserts into Regexp, in the order of its command ids.
const wchar_t* const kHintTexts[] = {
    L".", L"*", L"+", L"?", L"[]", L"[^]", L"|", L"\\w",
    L"\\s", L"\\d", L"\\u", L"\\l", L"()", L"(?:)", L"(?=)", L"(?!)",
};
static_assert(sizeof(kHintTexts) / sizeof(kHintTexts[0]) == ID_HINT_LAST - ID_HINT_FIRST + 1,
              "one hint text per menu command");

constexpr int kMinTrackSize = 600;

}

CQuillprobeDlg::CQuillprobeDlg(std::wstring ruleArgument) : ruleArgument_(std::move(ruleArgument)) {}

CQuillprobeDlg::~CQuillprobeDlg()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

bool CQuillprobeDlg::PreTranslateMessage(MSG* msg)
{
    return m_hWnd && ::IsDialogMessageW(m_hWnd, msg);
}

std::wstring CQuillprobeDlg::GetRuleArgument(const wchar_t* commandLine)
{
    if (!commandLine || !*commandLine)
        return std::wstring();
    int count = 0;
    Framework::ScopedLocal arguments(::CommandLineToArgvW(commandLine, &count));
    if (!arguments || count < 2)
        return std::wstring();
    LPWSTR* list = static_cast<LPWSTR*>(arguments.Get());
    return UnquoteRuleArgument(list[1]);
}

LRESULT CQuillprobeDlg::OnInitDialog(UINT, WPARAM, LPARAM, bool&)
{
    using namespace RichEditFormat;
    Guarded([this] {
        bigIcon_.Reset(Framework::LoadIconOfSize(IDI_QUILLPROBE, SM_CXICON, SM_CYICON));
        smallIcon_.Reset(Framework::LoadIconOfSize(IDI_QUILLPROBE, SM_CXSMICON, SM_CYSMICON));
        SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));

        Framework::CenterOnWorkArea(m_hWnd);
        loop_ = Framework::Module().GetMessageLoop();
        if (loop_)
            loop_->AddMessageFilter(this);

        rule_ = GetDlgItem(IDC_RULE);
        regexp_ = GetDlgItem(IDC_REGEXP);
        testString_ = GetDlgItem(IDC_TEST_STRING);
        matchResults_ = GetDlgItem(IDC_MATCH_RESULTS);
        format_ = GetDlgItem(IDC_FORMAT);
        result_ = GetDlgItem(IDC_RESULT);
        save_ = GetDlgItem(IDC_SAVE);
        nocaseBox_ = GetDlgItem(IDC_NOCASE);
        nextBox_ = GetDlgItem(IDC_NEXT);
        loopBox_ = GetDlgItem(IDC_LOOP);
        time_ = GetDlgItem(IDC_TIME);
        hintButton_ = GetDlgItem(IDC_HINT);
        for (HWND field : {rule_, regexp_, testString_, matchResults_, format_, result_})
            RaiseTextLimit(field);

        hintIcon_.Reset(Framework::LoadIconOfSize(IDI_HINT, SM_CXSMICON, SM_CYSMICON));
        ::SendMessageW(hintButton_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(hintIcon_.Get()));
        hintMenu_.Reset(::LoadMenuW(Framework::Module().GetResourceInstance(), MAKEINTRESOURCEW(IDR_HINTS)));

        SetDefaultFormat(rule_, false, 0);
        SetDefaultFormat(testString_, false, 0);
        SetDefaultFormat(result_, false, 0);
        ::SendMessageW(rule_, EM_SETEVENTMASK, 0, ENM_CHANGE);
        ::SendMessageW(testString_, EM_SETEVENTMASK, 0, ENM_CHANGE);

        // Setting the empty text after the default format gives the content that format.
        ::SendMessageW(regexp_, EM_SETEVENTMASK, 0, ENM_CHANGE);
        SetDefaultFormat(regexp_, true, kRegexpBackground);
        ::SetWindowTextW(regexp_, L"");
        SetSelection(regexp_, 1, 1);
        ::SetWindowTextW(testString_, L"");
        SetSelection(testString_, 1, 1);

        ::SendMessageW(format_, EM_SETEVENTMASK, 0, ENM_CHANGE);
        SetDefaultFormat(format_, true, kFormatBackground);
        ::SetWindowTextW(format_, L"");
        SetSelection(format_, 1, 1);

        hints_.assign(std::begin(kHintTexts), std::end(kHintTexts));

        // The change notification splits the line into the part fields at once.
        std::wstring line = ruleArgument_.empty() ? Quillon::Platform::AnsiToWide(Texts::kDefaultRuleLine)
                                                  : ruleArgument_;
        ::SetWindowTextW(rule_, line.c_str());
    });
    return TRUE;
}

LRESULT CQuillprobeDlg::OnSize(UINT, WPARAM, LPARAM, bool&)
{
    RECT client{};
    if (!GetClientRect(&client))
        return 1;
    for (const ControlPlace& place : ControlPlaces(client.right, client.bottom)) {
        HWND control = ::GetDlgItem(m_hWnd, place.id);
        if (control)
            ::SetWindowPos(control, nullptr, place.x, place.y, place.width, place.height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The moved controls leave stale pixels behind in the parts of the dialog they uncovered.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 1;
}

LRESULT CQuillprobeDlg::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool&)
{
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info) {
        info->ptMinTrackSize.x = kMinTrackSize;
        info->ptMinTrackSize.y = kMinTrackSize;
    }
    return 0;
}

LRESULT CQuillprobeDlg::OnDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    if (loop_) {
        loop_->RemoveMessageFilter(this);
        loop_ = nullptr;
    }
    handled = false;
    return 0;
}

LRESULT CQuillprobeDlg::OnSave(WORD, WORD, HWND, bool&)
{
    return 0;
}

LRESULT CQuillprobeDlg::OnCancel(WORD, WORD, HWND, bool&)
{
    DestroyWindow();
    ::PostQuitMessage(0);
    return 0;
}

LRESULT CQuillprobeDlg::OnHintMenu(WORD, WORD, HWND, bool&)
{
    RECT button{};
    HMENU popup = hintMenu_ ? ::GetSubMenu(hintMenu_.Get(), 0) : nullptr;
    if (popup && ::GetWindowRect(hintButton_, &button))
        ::TrackPopupMenu(popup, TPM_LEFTBUTTON, button.left, button.bottom, 0, m_hWnd, nullptr);
    return 0;
}

LRESULT CQuillprobeDlg::OnHint(WORD, WORD id, HWND, bool&)
{
    Guarded([this, id] {
        std::size_t index = static_cast<std::size_t>(id - ID_HINT_FIRST);
        if (index >= hints_.size())
            return;
        const std::wstring hint = hints_[index];
        std::string text = Quillon::Platform::WideToAnsi(hint);
        // The field is an ANSI control; its text messages take 8-bit text.
        ::SendMessageA(regexp_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));

        CHARRANGE selection = RichEditFormat::GetSelection(regexp_);
        std::size_t bracket = hint.rfind(L']');
        if (bracket == std::wstring::npos)
            bracket = hint.rfind(L')');
        if (bracket != std::wstring::npos) {
            LONG back = static_cast<LONG>(hint.size() - bracket);
            selection.cpMin -= back;
            selection.cpMax -= back;
        }
        RichEditFormat::SetSelection(regexp_, selection.cpMin, selection.cpMax);
        ::SetFocus(regexp_);
    });
    return 0;
}

void CQuillprobeDlg::ShowMessage(const std::string& text)
{
    ::SetWindowTextW(result_, Quillon::Platform::AnsiToWide(JoinMessageLines(text)).c_str());
    SetTextColour(result_, RichEditFormat::kRed);
}

}}
