// The property page base in a real property sheet: its object lives as long as its description or
// its window, its map gets the messages from WM_INITDIALOG on (not those sent during it) and answers
// their senders, and an exception thrown by the page's own code does not leave the dialog procedure.
#include "Framework/ComObject.h"
#include "Framework/PropertyPage.h"

#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr UINT kThrow = WM_APP + 7;
constexpr UINT kAnswer = WM_APP + 8;
constexpr LRESULT kAnswerResult = 42;

// A page dialog without controls, as a property page's template in memory.
struct alignas(4) PageTemplate {
    DLGTEMPLATE dialog;
    WORD menu;
    WORD windowClass;
    WORD title;
};

const PageTemplate kTemplate = {{WS_CHILD | WS_DISABLED | WS_CAPTION, 0, 0, 0, 0, 120, 60}, 0, 0, 0};

class ThrowingPage final : public Framework::CPropertyPage {
public:
    explicit ThrowingPage(bool throwAtInit) : throwAtInit_(throwAtInit) {}
    int initialised = 0;
    int answered = 0;

    FW_BEGIN_MSG_MAP(ThrowingPage)
        FW_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        FW_MESSAGE_HANDLER(kThrow, OnThrow)
        FW_MESSAGE_HANDLER(kAnswer, OnAnswer)
    FW_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, bool&)
    {
        ++initialised;
        // Sent during initialisation: does not reach the map yet.
        ::SendMessageW(PageWindow(), kAnswer, 0, 0);
        if (throwAtInit_)
            throw std::runtime_error("init");
        return TRUE;
    }
    LRESULT OnThrow(UINT, WPARAM, LPARAM, bool&) { throw std::bad_alloc(); }
    LRESULT OnAnswer(UINT, WPARAM, LPARAM, bool&)
    {
        ++answered;
        return kAnswerResult;
    }
    bool throwAtInit_;
};

HPROPSHEETPAGE CreatePage(Framework::CPropertyPage* page)
{
    PROPSHEETPAGEW description{};
    description.dwSize = sizeof(description);
    description.dwFlags = PSP_DLGINDIRECT | PSP_USETITLE;
    description.pResource = &kTemplate.dialog;
    description.pszTitle = L"Page";
    return page->Create(description);
}

HWND ShowSheet(HPROPSHEETPAGE page)
{
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS;
    header.pszCaption = L"Sheet";
    header.nPages = 1;
    header.phpage = &page;
    return reinterpret_cast<HWND>(::PropertySheetW(&header));
}

class PropertyPageTest : public ::testing::TestWithParam<bool> {};

TEST_P(PropertyPageTest, ExceptionsStayInsideAndTheObjectGoesWithTheSheet)
{
    const long before = Framework::ServerCounts::Objects();
    auto* page = new ThrowingPage(GetParam());
    HPROPSHEETPAGE handle = CreatePage(page);
    ASSERT_NE(handle, nullptr);
    page->Release();
    EXPECT_EQ(Framework::ServerCounts::Objects(), before + 1);

    HWND sheet = ShowSheet(handle);
    ASSERT_NE(sheet, nullptr);
    TestSupport::PumpMessages();
    HWND window = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(page->initialised, 1);
    // The page's object still answers after its code threw.
    EXPECT_EQ(::SendMessageW(window, kThrow, 0, 0), 0);
    // A handled message's result reaches its sender, as a dialog's does.
    EXPECT_EQ(::SendMessageW(window, kAnswer, 0, 0), kAnswerResult);
    EXPECT_EQ(page->answered, 1);
    EXPECT_EQ(Framework::ServerCounts::Objects(), before + 1);

    ::DestroyWindow(sheet);
    TestSupport::PumpMessages();
    EXPECT_EQ(Framework::ServerCounts::Objects(), before);
}

INSTANTIATE_TEST_SUITE_P(Init, PropertyPageTest, ::testing::Values(false, true));

// A page whose handler runs a modal loop in which a timer destroys the sheet, as a host may
// while a command's dialog is up. What the page and its handler see is kept outside the page,
// which is freed once the handler returns.
constexpr UINT kRunLoop = WM_APP + 9;
HWND g_sheetToDestroy = nullptr;

void CALLBACK DestroySheetOnTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    ::DestroyWindow(g_sheetToDestroy);
}

struct LoopSeen {
    bool destroyed = false;
    bool aliveAfterLoop = false;
    bool windowAfterLoop = true;
    long objectsAfterLoop = 0;
};

class LoopingPage final : public Framework::CPropertyPage {
public:
    explicit LoopingPage(LoopSeen& seen) : seen_(seen) {}

    FW_BEGIN_MSG_MAP(LoopingPage)
        FW_MESSAGE_HANDLER(kRunLoop, OnRunLoop)
    FW_END_MSG_MAP()

private:
    ~LoopingPage() override { seen_.destroyed = true; }

    LRESULT OnRunLoop(UINT, WPARAM, LPARAM, bool&)
    {
        g_sheetToDestroy = ::GetParent(PageWindow());
        if (!::SetTimer(nullptr, 0, 10, &DestroySheetOnTimer))
            return 0;
        MSG msg{};
        while (::IsWindow(g_sheetToDestroy) && ::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        seen_.aliveAfterLoop = !seen_.destroyed;
        seen_.windowAfterLoop = PageWindow() != nullptr;
        seen_.objectsAfterLoop = Framework::ServerCounts::Objects();
        return 0;
    }

    LoopSeen& seen_;
};

TEST(PropertyPage, PageLivesUntilItsHandlerReturnsWhenTheSheetGoesDuringIt)
{
    const long before = Framework::ServerCounts::Objects();
    LoopSeen seen;
    auto* page = new LoopingPage(seen);
    HPROPSHEETPAGE handle = CreatePage(page);
    ASSERT_NE(handle, nullptr);
    page->Release();
    HWND sheet = ShowSheet(handle);
    ASSERT_NE(sheet, nullptr);
    TestSupport::PumpMessages();
    HWND window = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(window, nullptr);

    ::SendMessageW(window, kRunLoop, 0, 0);
    EXPECT_FALSE(::IsWindow(sheet));
    // Back from its loop the handler still had its page, which no longer had a window.
    EXPECT_TRUE(seen.aliveAfterLoop);
    EXPECT_FALSE(seen.windowAfterLoop);
    EXPECT_EQ(seen.objectsAfterLoop, before + 1);
    // Once the handler returned, the page went.
    EXPECT_TRUE(seen.destroyed);
    EXPECT_EQ(Framework::ServerCounts::Objects(), before);
}

TEST(PropertyPage, DescriptionThatIsNeverShownFreesItsObject)
{
    const long before = Framework::ServerCounts::Objects();
    auto* page = new ThrowingPage(false);
    HPROPSHEETPAGE handle = CreatePage(page);
    ASSERT_NE(handle, nullptr);
    page->Release();
    EXPECT_EQ(Framework::ServerCounts::Objects(), before + 1);
    EXPECT_TRUE(::DestroyPropertySheetPage(handle));
    EXPECT_EQ(Framework::ServerCounts::Objects(), before);
}

TEST(GuardedCall, ExceptionsBecomeFailureResults)
{
    EXPECT_EQ(Framework::GuardedCall([]() -> HRESULT { return S_FALSE; }), S_FALSE);
    EXPECT_EQ(Framework::GuardedCall([]() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
    EXPECT_EQ(Framework::GuardedCall([]() -> HRESULT { throw std::runtime_error("x"); }), E_FAIL);
    EXPECT_EQ(Framework::GuardedCall([]() -> HRESULT { throw 3; }), E_FAIL);
}

}
