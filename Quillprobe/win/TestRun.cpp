// The Test button: the rule of the Rule line run on the Test string.
#include "QuillprobeDlg.h"

#include "FieldText.h"

#include <Framework/Handles.h>

#include <memory>
#include <stdexcept>

#include "ProbeTexts.h"
#include "RichEditFormat.h"
#include "RuleTest.h"
#include "RuleTestRun.h"

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

// Sets a flag for the life of the object and clears it again.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}

bool CQuillprobeDlg::WaitResponsive(HANDLE event, DWORD milliseconds)
{
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    for (;;) {
        ULONGLONG now = ::GetTickCount64();
        DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        DWORD woken = ::MsgWaitForMultipleObjectsEx(1, &event, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0)
            return true;
        if (woken != WAIT_OBJECT_0 + 1)
            return false; // the time has passed, or the wait failed
        MSG msg{};
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            if (!PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
    }
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
    if (testRunning_)
        return;
    FlagScope running(testRunning_);
    std::string test = FieldText(testString_);
    std::size_t address = AddressPrefixLength(test);
    if (address > 0 && MessageBox(Texts::kAddressQuestion, Texts::kWarningCaption, MB_YESNO) == IDYES) {
        test.erase(0, address);
        SetFieldText(testString_, test);
    }

    // The run goes on a thread of its own, so that the dialog answers while it runs, and it is cut
    // off at the time limit: a pattern that backtracks for minutes must not hold the window.
    Framework::ScopedHandle ended(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!ended)
        throw std::runtime_error("cannot create an event");
    HANDLE endedEvent = ended.Get();
    const std::string line = FieldText(rule_);
    RuleTestRun run(workingRule_, line, SubjectOf(test), std::make_unique<PerformanceCounterStopwatch>(),
                    [endedEvent] { ::SetEvent(endedEvent); });
    if (!WaitResponsive(endedEvent, static_cast<DWORD>(kTestTimeLimit.count())))
        run.CutOff();
    const TestOutcome& outcome = run.Outcome();
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return; // closed while the test ran
    // The rule as the run filled it, unless the Rule line was edited in the meantime.
    if (FieldText(rule_) == line)
        workingRule_ = run.Rule();
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
