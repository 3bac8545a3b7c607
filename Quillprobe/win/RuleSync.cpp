// The Rule line and its part fields kept in step through the working rule.
#include "QuillprobeDlg.h"

#include "FieldText.h"

#include <Framework/Window.h>

#include "RichEditFormat.h"

namespace Orvane { namespace Quillprobe {

namespace {

bool IsChecked(HWND box)
{
    return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetCheck(HWND box, bool checked)
{
    ::SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

}

void CQuillprobeDlg::SetTextColour(HWND field, COLORREF colour)
{
    bool outer = formatting_;
    formatting_ = true;
    RichEditFormat::SetTextColour(field, colour);
    formatting_ = outer;
}

void CQuillprobeDlg::ResetRuleFlags()
{
    workingRule_.ResetFlags();
}

LRESULT CQuillprobeDlg::OnRuleChange(WORD, WORD, HWND, bool&)
{
    if (formatting_)
        return 0;
    Guarded([this] {
        SetTextColour(rule_, RichEditFormat::kBlack);
        SetCheck(nocaseBox_, false);
        SetCheck(nextBox_, false);
        SetCheck(loopBox_, false);

        SplitOutcome split = SplitRuleLine(workingRule_, FieldText(rule_));
        if (!split.ok) {
            ShowMessage(split.error);
            return;
        }
        if (guard_ == 0) {
            guard_ = 1;
            SetFieldText(regexp_, split.parts.pattern);
            SetFieldText(format_, split.parts.substitution);
            guard_ = 0;
        }
        SetCheck(nocaseBox_, workingRule_.nocase != 0);
        SetCheck(nextBox_, workingRule_.next != 0);
        SetCheck(loopBox_, workingRule_.loop != 0);
        HighlightRule(split.parts);
        ::SetWindowTextW(result_, L"");
        SetTextColour(result_, RichEditFormat::kRed);
    });
    return 0;
}

void CQuillprobeDlg::OnPartChange(HWND field, bool isPattern)
{
    if (formatting_)
        return;
    Guarded([this, field, isPattern] {
        SetTextColour(field, RichEditFormat::kBlack);
        std::string text = FieldText(field);
        if (isPattern)
            SetRulePattern(workingRule_, text);
        else
            workingRule_.substitution = text;
        if (guard_ == 0) {
            guard_ = 1;
            ComposeRuleLine();
            guard_ = 0;
        }
    });
}

LRESULT CQuillprobeDlg::OnRegexpChange(WORD, WORD, HWND, bool&)
{
    OnPartChange(regexp_, true);
    return 0;
}

LRESULT CQuillprobeDlg::OnFormatChange(WORD, WORD, HWND, bool&)
{
    OnPartChange(format_, false);
    return 0;
}

LRESULT CQuillprobeDlg::OnTestStringChange(WORD, WORD, HWND, bool&)
{
    if (!formatting_)
        Guarded([this] { SetTextColour(testString_, RichEditFormat::kBlack); });
    return 0;
}

LRESULT CQuillprobeDlg::OnFlagCheck(WORD, WORD, HWND, bool&)
{
    Guarded([this] {
        workingRule_.nocase = IsChecked(nocaseBox_) ? 1 : 0;
        workingRule_.next = IsChecked(nextBox_) ? 1 : 0;
        workingRule_.loop = IsChecked(loopBox_) ? 1 : 0;
        ComposeRuleLine();
    });
    return 0;
}

void CQuillprobeDlg::ComposeRuleLine()
{
    SetFieldText(rule_, Quillprobe::ComposeRuleLine(workingRule_));
}

void CQuillprobeDlg::HighlightRule(const RuleLineParts& parts)
{
    using namespace RichEditFormat;
    bool outer = formatting_;
    formatting_ = true;
    CHARRANGE saved = GetSelection(rule_);

    LONG patternStart = static_cast<LONG>(parts.patternStart);
    SetSelection(rule_, 0, patternStart - 1);
    CHARFORMAT2W keyword{};
    keyword.cbSize = sizeof(keyword);
    keyword.dwMask = CFM_COLOR | CFM_BOLD;
    keyword.dwEffects = 0;
    keyword.crTextColor = kBlue;
    ::SendMessageW(rule_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&keyword));

    SetSelection(rule_, patternStart, patternStart + static_cast<LONG>(parts.patternLength));
    SetSelectionBackground(rule_, kRegexpBackground);
    if (parts.hasSubstitution) {
        LONG start = static_cast<LONG>(parts.substitutionStart);
        SetSelection(rule_, start, start + static_cast<LONG>(parts.substitutionLength));
        SetSelectionBackground(rule_, kFormatBackground);
    }
    SetSelection(rule_, saved.cpMin, saved.cpMax);
    formatting_ = outer;
}

}}
