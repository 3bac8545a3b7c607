// The Test button: the rule of the Rule line run on the Test string.
#include "QuillprobeDlg.h"

#include <Framework/Window.h>

#include "ProbeTexts.h"
#include "RichEditFormat.h"
#include "RuleTest.h"

namespace Orvane { namespace Quillon {

namespace {

class PerformanceCounterStopwatch : public Probe::Stopwatch {
public:
    void Start() override
    {
        ::QueryPerformanceCounter(&start_);
        ::QueryPerformanceFrequency(&frequency_);
    }
    float ElapsedMilliseconds() override
    {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        return Probe::ElapsedMilliseconds(start_.QuadPart, now.QuadPart, frequency_.QuadPart);
    }

private:
    LARGE_INTEGER start_{};
    LARGE_INTEGER frequency_{};
};

std::string FieldText(HWND field)
{
    return Platform::WideToAnsi(Framework::CWindow(field).GetWindowText());
}

}

void CQuillprobeDlg::SetTimeText(float milliseconds)
{
    ::SetWindowTextW(time_, Platform::AnsiToWide(Probe::FormatElapsedTime(milliseconds)).c_str());
}

LRESULT CQuillprobeDlg::OnTest(WORD, WORD, HWND, bool&)
{
    Guarded([this] { RunTest(); });
    return 0;
}

void CQuillprobeDlg::RunTest()
{
    using Status = Probe::TestOutcome::Status;
    std::string test = FieldText(testString_);
    std::size_t address = Probe::AddressPrefixLength(test);
    if (address > 0 && MessageBox(Probe::Texts::kAddressQuestion, Probe::Texts::kWarningCaption, MB_YESNO) == IDYES) {
        test.erase(0, address);
        ::SetWindowTextW(testString_, Platform::AnsiToWide(test).c_str());
    }

    PerformanceCounterStopwatch stopwatch;
    Probe::TestOutcome outcome = Probe::RunRuleTest(rule, FieldText(rule_), Probe::SubjectOf(test), stopwatch);
    if (outcome.timed)
        SetTimeText(outcome.elapsedMs);
    if (outcome.status != Status::Matched) {
        ShowMessage(outcome.message);
        return;
    }
    if (outcome.iterated)
        ::MessageBoxW(nullptr, Platform::AnsiToWide(outcome.iterationLog).c_str(), Probe::Texts::kIterationsCaption,
                      MB_OK);
    ::SetWindowTextW(matchResults_, Platform::AnsiToWide(outcome.matchList).c_str());
    ::SetWindowTextW(result_, Platform::AnsiToWide(outcome.result).c_str());
    SetTextColour(result_, RichEditFormat::kBlack);
}

}}
