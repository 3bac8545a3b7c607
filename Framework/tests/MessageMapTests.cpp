// Routing of messages through message maps, chains, alternate maps, superclasses, subclassed
// windows and dialogs.
#include "Framework/DialogImpl.h"
#include "Framework/WindowImpl.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

using namespace Framework;

namespace {

constexpr UINT WM_PROBE = WM_APP + 1;
constexpr UINT WM_PASS_ON = WM_APP + 2;
constexpr UINT WM_BASE_ONLY = WM_APP + 3;

class CBaseMap : public CMessageMap {
public:
    std::vector<std::string> log;
    FW_BEGIN_MSG_MAP(CBaseMap)
        FW_MESSAGE_HANDLER(WM_PASS_ON, OnBase)
        FW_MESSAGE_HANDLER(WM_BASE_ONLY, OnBase)
    FW_ALT_MSG_MAP(1)
        FW_COMMAND_ID_HANDLER(500, OnAltCommand)
    FW_END_MSG_MAP()
    LRESULT OnBase(UINT, WPARAM, LPARAM, bool&)
    {
        log.push_back("base");
        return 20;
    }
    LRESULT OnAltCommand(WORD, WORD, HWND, bool&)
    {
        log.push_back("alt");
        return 30;
    }
};

class CTestWindow : public CWindowImpl<CTestWindow> {
public:
    FW_DECLARE_WND_CLASS(L"Framework.TestWindow")

    std::vector<UINT> seen;
    std::vector<std::string> log;
    CBaseMap member;
    bool destroyedFinal = false;

    FW_BEGIN_MSG_MAP(CTestWindow)
        seen.push_back(uMsg);
        FW_MESSAGE_HANDLER(WM_PROBE, OnProbe)
        FW_MESSAGE_HANDLER(WM_PASS_ON, OnPassOn)
        FW_COMMAND_ID_HANDLER(400, OnCommand400)
        FW_CHAIN_MSG_MAP_MEMBER(member)
        if (uMsg == WM_COMMAND)
            FW_CHAIN_MSG_MAP_ALT_MEMBER(member, 1)
    FW_END_MSG_MAP()

    LRESULT OnProbe(UINT, WPARAM wParam, LPARAM, bool&) { return static_cast<LRESULT>(wParam) * 2; }
    LRESULT OnPassOn(UINT, WPARAM, LPARAM, bool& handled)
    {
        log.push_back("own");
        handled = false;
        return 0;
    }
    LRESULT OnCommand400(WORD code, WORD, HWND, bool&)
    {
        log.push_back("cmd" + std::to_string(code));
        return 0;
    }
    void OnFinalMessage(HWND) override { destroyedFinal = true; }
};

TEST(MessageMap, RoutesHandlersChainsAndAlternateMaps)
{
    CTestWindow window;
    ASSERT_TRUE(window.Create(nullptr, nullptr, L"test", WS_OVERLAPPEDWINDOW));

    EXPECT_EQ(window.SendMessage(WM_PROBE, 21), 42);
    // A handler that clears its flag lets the chained map answer.
    EXPECT_EQ(window.SendMessage(WM_PASS_ON), 20);
    EXPECT_EQ(window.log, std::vector<std::string>{"own"});
    EXPECT_EQ(window.member.log, std::vector<std::string>{"base"});
    // Commands match on the identifier whatever the notification code.
    window.SendMessage(WM_COMMAND, MAKEWPARAM(400, 0));
    window.SendMessage(WM_COMMAND, MAKEWPARAM(400, 1));
    EXPECT_EQ(window.log, (std::vector<std::string>{"own", "cmd0", "cmd1"}));
    // Alternate map 1 of the member only sees what it was chained to.
    EXPECT_EQ(window.SendMessage(WM_COMMAND, MAKEWPARAM(500, 0)), 30);
    EXPECT_EQ(window.member.log.back(), "alt");

    HWND handle = window.m_hWnd;
    EXPECT_EQ(CWindowImplRoot::FromHandle(handle), static_cast<CWindowImplRoot*>(&window));
    ASSERT_TRUE(::DestroyWindow(handle));
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_TRUE(window.destroyedFinal);
    EXPECT_EQ(CWindowImplRoot::FromHandle(handle), nullptr);
}

TEST(MessageMap, MessagesBeforeNcCreateReachTheObject)
{
    CTestWindow window;
    ASSERT_TRUE(window.Create(nullptr, nullptr, L"early", WS_OVERLAPPEDWINDOW));
    ASSERT_FALSE(window.seen.empty());
    auto nccreate = std::find(window.seen.begin(), window.seen.end(), static_cast<UINT>(WM_NCCREATE));
    ASSERT_NE(nccreate, window.seen.end());
    // An overlapped window is asked its size limits before WM_NCCREATE.
    EXPECT_NE(std::find(window.seen.begin(), nccreate, static_cast<UINT>(WM_GETMINMAXINFO)), nccreate);
    window.DestroyWindow();
}

class CLoudEdit : public CWindowImpl<CLoudEdit> {
public:
    FW_DECLARE_WND_SUPERCLASS(L"Framework.TestEdit", L"EDIT")
    int chars = 0;
    FW_BEGIN_MSG_MAP(CLoudEdit)
        FW_MESSAGE_HANDLER(WM_CHAR, OnChar)
    FW_END_MSG_MAP()
    LRESULT OnChar(UINT msg, WPARAM wParam, LPARAM lParam, bool&)
    {
        ++chars;
        // Upper case through the control's own procedure.
        return DefaultProc(msg, static_cast<WPARAM>(towupper(static_cast<wint_t>(wParam))), lParam);
    }
};

TEST(MessageMap, SuperclassLeavesTheRestToTheControl)
{
    CTestWindow parent;
    ASSERT_TRUE(parent.Create(nullptr, nullptr, L"parent", WS_OVERLAPPEDWINDOW));
    CLoudEdit edit;
    RECT rect{0, 0, 100, 20};
    ASSERT_TRUE(edit.Create(parent, &rect, L"", WS_CHILD | WS_VISIBLE));
    edit.SendMessage(WM_CHAR, L'a', 1);
    edit.SendMessage(WM_CHAR, L'b', 1);
    EXPECT_EQ(edit.chars, 2);
    EXPECT_EQ(edit.GetWindowText(), L"AB");
    parent.DestroyWindow();
    EXPECT_EQ(edit.m_hWnd, nullptr);
}

class CCounter : public CWindowImpl<CCounter> {
public:
    FW_DECLARE_WND_CLASS(L"Framework.Counter")
    int texts = 0;
    FW_BEGIN_MSG_MAP(CCounter)
        FW_MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    FW_END_MSG_MAP()
    LRESULT OnSetText(UINT, WPARAM, LPARAM, bool& handled)
    {
        ++texts;
        handled = false;
        return 0;
    }
};

TEST(MessageMap, SubclassedWindowPassesOnAndCanBeReleased)
{
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(edit);
    CCounter counter;
    ASSERT_TRUE(counter.SubclassWindow(edit));
    ::SetWindowTextW(edit, L"one");
    EXPECT_EQ(counter.texts, 1);
    EXPECT_EQ(CWindow(edit).GetWindowText(), L"one");
    EXPECT_EQ(counter.UnsubclassWindow(), edit);
    ::SetWindowTextW(edit, L"two");
    EXPECT_EQ(counter.texts, 1);
    EXPECT_EQ(CWindow(edit).GetWindowText(), L"two");
    ::DestroyWindow(edit);
}

class CTestDialog : public CDialogImpl<CTestDialog> {
public:
    enum { IDD = 100 };
    bool sawSetFontFirst = false;
    bool initialised = false;
    std::vector<UINT> seen;
    FW_BEGIN_MSG_MAP(CTestDialog)
        seen.push_back(uMsg);
        FW_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        FW_COMMAND_HANDLER(IDOK, BN_CLICKED, OnOk)
    FW_END_MSG_MAP()
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, bool&)
    {
        initialised = lParam == 77;
        sawSetFontFirst = !seen.empty() && seen.front() == WM_SETFONT;
        ::SetDlgItemTextW(m_hWnd, 1001, L"hello");
        ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }
    LRESULT OnOk(WORD, WORD, HWND, bool&)
    {
        wchar_t text[16] = {};
        ::GetDlgItemTextW(m_hWnd, 1001, text, 16);
        EndDialog(std::wstring(text) == L"hello" ? 5 : 6);
        return 0;
    }
};

TEST(DialogImpl, ModalDialogRoutesFromTheFirstMessage)
{
    CTestDialog dialog;
    // Cancel is not in the map and must not end the dialog; OK ends it with its result.
    EXPECT_EQ(dialog.DoModal(nullptr, 77), 5);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_TRUE(dialog.sawSetFontFirst);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(DialogImpl, ModelessDialogLivesUntilEnded)
{
    CTestDialog dialog;
    HWND window = dialog.Create(nullptr, 0);
    ASSERT_TRUE(window);
    EXPECT_FALSE(dialog.initialised);
    EXPECT_TRUE(dialog.EndDialog(0));
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}


// A window object that frees itself in its final call, and whose handler runs a modal loop in
// which a timer destroys its window: the final call comes only after the handler has returned.
constexpr UINT WM_RUN_LOOP = WM_APP + 4;
HWND g_destroyOnTimer = nullptr;

void CALLBACK DestroyOnTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    ::DestroyWindow(g_destroyOnTimer);
}

// Pumps this thread's messages until the window is gone, as a modal loop does.
void RunLoopUntilGone(HWND window, std::vector<std::string>& log)
{
    g_destroyOnTimer = window;
    ASSERT_NE(::SetTimer(nullptr, 0, 10, &DestroyOnTimer), 0u);
    MSG msg{};
    while (::IsWindow(window) && ::GetMessageW(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&msg);
    log.push_back("back from the loop");
}

// The same for a window and for a dialog, over Impl.
template <class Impl>
class CSelfFreeing : public Impl {
public:
    explicit CSelfFreeing(std::vector<std::string>& log) : log_(log) {}
    FW_BEGIN_MSG_MAP(CSelfFreeing)
        FW_MESSAGE_HANDLER(WM_RUN_LOOP, OnRunLoop)
    FW_END_MSG_MAP()
    LRESULT OnRunLoop(UINT, WPARAM, LPARAM, bool&)
    {
        RunLoopUntilGone(this->m_hWnd, log_);
        return 0;
    }
    void OnFinalMessage(HWND) override
    {
        log_.push_back("final");
        delete this;
    }

private:
    std::vector<std::string>& log_;
};

class CSelfFreeingWindow : public CSelfFreeing<CWindowImpl<CSelfFreeingWindow>> {
public:
    FW_DECLARE_WND_CLASS(L"Framework.SelfFreeingWindow")
    using CSelfFreeing::CSelfFreeing;
};

class CSelfFreeingDialog : public CSelfFreeing<CDialogImpl<CSelfFreeingDialog>> {
public:
    enum { IDD = 100 };
    using CSelfFreeing::CSelfFreeing;
};

TEST(MessageMap, WindowDestroyedDuringAHandlersModalLoopGetsItsFinalCallAfterTheHandler)
{
    std::vector<std::string> log;
    auto* window = new CSelfFreeingWindow(log);
    HWND handle = window->Create(nullptr, nullptr, L"self-freeing", WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(handle);
    ::SendMessageW(handle, WM_RUN_LOOP, 0, 0);
    EXPECT_FALSE(::IsWindow(handle));
    EXPECT_EQ(log, (std::vector<std::string>{"back from the loop", "final"}));
}

TEST(DialogImpl, DialogDestroyedDuringAHandlersModalLoopGetsItsFinalCallAfterTheHandler)
{
    std::vector<std::string> log;
    auto* dialog = new CSelfFreeingDialog(log);
    HWND handle = dialog->Create(nullptr);
    ASSERT_TRUE(handle);
    ::SendMessageW(handle, WM_RUN_LOOP, 0, 0);
    EXPECT_FALSE(::IsWindow(handle));
    EXPECT_EQ(log, (std::vector<std::string>{"back from the loop", "final"}));
}

// Handlers that throw: the exception must stay inside the window or dialog procedure, since it
// cannot unwind through the system's frames.
class CThrowingWindow : public CWindowImpl<CThrowingWindow> {
public:
    FW_DECLARE_WND_CLASS(L"Framework.ThrowingWindow")

    bool failCreate = false;
    int probes = 0;

    FW_BEGIN_MSG_MAP(CThrowingWindow)
        FW_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        FW_MESSAGE_HANDLER(WM_PROBE, OnProbe)
    FW_END_MSG_MAP()

    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&)
    {
        if (failCreate)
            throw std::runtime_error("cannot create");
        return 0;
    }
    LRESULT OnProbe(UINT, WPARAM, LPARAM, bool&)
    {
        ++probes;
        throw std::bad_alloc();
    }
};

TEST(MessageMap, AThrowingHandlerDoesNotLeaveTheWindowProcedure)
{
    CThrowingWindow failing;
    failing.failCreate = true;
    EXPECT_EQ(failing.Create(nullptr, nullptr, L"failing", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_EQ(failing.m_hWnd, nullptr);

    CThrowingWindow window;
    ASSERT_TRUE(window.Create(nullptr, nullptr, L"throwing", WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(window.SendMessage(WM_PROBE, 21), 0);
    EXPECT_EQ(window.SendMessage(WM_PROBE, 21), 0);
    EXPECT_EQ(window.probes, 2);
    EXPECT_TRUE(::DestroyWindow(window.m_hWnd));
}

class CThrowingDialog : public CDialogImpl<CThrowingDialog> {
public:
    enum { IDD = 100 };
    int probes = 0;
    FW_BEGIN_MSG_MAP(CThrowingDialog)
        FW_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        FW_MESSAGE_HANDLER(WM_PROBE, OnProbe)
        FW_COMMAND_HANDLER(IDOK, BN_CLICKED, OnOk)
    FW_END_MSG_MAP()
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, bool&)
    {
        ::PostMessageW(m_hWnd, WM_PROBE, 0, 0);
        ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        throw std::runtime_error("initialisation failed");
    }
    LRESULT OnProbe(UINT, WPARAM, LPARAM, bool&)
    {
        ++probes;
        throw std::bad_alloc();
    }
    LRESULT OnOk(WORD, WORD, HWND, bool&)
    {
        EndDialog(probes == 1 ? 9 : 8);
        return 0;
    }
};

TEST(DialogImpl, AThrowingHandlerDoesNotLeaveTheDialogProcedure)
{
    CThrowingDialog dialog;
    // Both throwing handlers ran, the dialog kept going and ended normally.
    EXPECT_EQ(dialog.DoModal(nullptr), 9);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

}
