// The Test button: the rule of the Rule line run on the Test string.
#include "QuillprobeDlg.h"

#include "FieldText.h"

#include <Framework/Window.h>

#include "ProbeTexts.h"
#include "RichEditFormat.h"
#include "RuleTest.h"

namespace Orvane { namespace Quillprobe {

namespace {

class PerformanceCounterStopwatch : public Stopwatch {
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
        return Quillprobe::ElapsedMilliseconds(start_.QuadPart, now.QuadPart, frequency_.QuadPart);
    }

private:
    LARGE_INTEGER start_{};
    LARGE_INTEGER frequency_{};
};

}

void CQuillprobeDlg::SetTimeText(float milliseconds)
{
    SetFieldText(time_, FormatElapsedTime(milliseconds));
}

LRESULT CQuillprobeDlg::OnTest(WORD, WORD, HWND, bool&)
{
    Guarded([this] { RunTest(); });
    return 0;
}

void CQuillprobeDlg::RunTest()
{
    using Status = TestOutcome::Status;
    std::string test = FieldText(testString_);
    std::size_t address = AddressPrefixLength(test);
    if (address > 0 && MessageBox(Texts::kAddressQuestion, Texts::kWarningCaption, MB_YESNO) == IDYES) {
        test.erase(0, address);
        SetFieldText(testString_, test);
    }

    PerformanceCounterStopwatch stopwatch;
    TestOutcome outcome = RunRuleTest(workingRule_, FieldText(rule_), SubjectOf(test), stopwatch);
    if (outcome.timed)
        SetTimeText(outcome.elapsedMs);
    if (outcome.status != Status::Matched) {
        ShowMessage(outcome.message);
        return;
    }
    if (outcome.iterated)
        ::MessageBoxW(nullptr, Quillon::Platform::AnsiToWide(outcome.iterationLog).c_str(), Texts::kIterationsCaption,
                      MB_OK);
    SetFieldText(matchResults_, outcome.matchList);
    SetFieldText(result_, outcome.result);
    SetTextColour(result_, RichEditFormat::kBlack);
}

}}
