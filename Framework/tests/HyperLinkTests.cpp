// The hyperlink control over a static text: its target, its hit test, its underlined link-coloured
// text, and a target that cannot be opened.
#include "Framework/Handles.h"
#include "Framework/HyperLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

using namespace Framework;

namespace {

class HyperLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(host_); }

    HWND MakeStatic(const wchar_t* text, DWORD style)
    {
        HWND control = ::CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 20, host_,
                                         nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return control;
    }

    HWND host_ = nullptr;
};

// The columns and rows of the link-coloured pixels that the control paints.
struct LinkPixels {
    int left = -1;
    int right = -1;
    int widestRow = 0;  // the most link-coloured pixels in one row
    int width = 0;      // the control's width
};

LinkPixels Print(HWND control)
{
    RECT area{};
    ::GetClientRect(control, &area);
    WindowDC screen(control);
    ScopedDC memoryDC(::CreateCompatibleDC(screen.Get()));
    ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), area.right, area.bottom));
    const HDC memory = memoryDC.Get();
    SelectedObject selected(memory, bitmap.Get());
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    LinkPixels pixels;
    pixels.width = area.right;
    for (int y = 0; y < area.bottom; ++y) {
        int row = 0;
        for (int x = 0; x < area.right; ++x) {
            if (::GetPixel(memory, x, y) != CHyperLink::LinkColor)
                continue;
            ++row;
            if (pixels.left < 0 || x < pixels.left)
                pixels.left = x;
            pixels.right = std::max(pixels.right, x);
        }
        pixels.widestRow = std::max(pixels.widestRow, row);
    }
    return pixels;
}

TEST_F(HyperLinkTest, TargetIsTheTextUnlessGiven)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* target;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"http://www.orvane.example/", L"", L"http://www.orvane.example/"},
        {L"Our web site", L"http://www.orvane.example/quillon/", L"http://www.orvane.example/quillon/"},
    };
    for (const Case& c : cases) {
        CHyperLink link;
        ASSERT_TRUE(link.SubclassStatic(MakeStatic(c.text, SS_LEFT), c.target));
        EXPECT_EQ(link.Target(), c.expected);
        // A window is subclassed once.
        CHyperLink second;
        EXPECT_FALSE(second.SubclassStatic(link.m_hWnd, L"x"));
        link.DestroyWindow();
    }
}

TEST_F(HyperLinkTest, TakesTheMouseAndDrawsUnderlinedInTheLinkColour)
{
    HWND plain = MakeStatic(L"http://www.orvane.example/", SS_CENTER);
    EXPECT_EQ(::SendMessageW(plain, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_EQ(Print(plain).left, -1) << "a plain static draws no link colour";

    CHyperLink link;
    ASSERT_TRUE(link.SubclassStatic(plain));
    EXPECT_EQ(::SendMessageW(plain, WM_NCHITTEST, 0, 0), HTCLIENT);
    LinkPixels pixels = Print(plain);
    ASSERT_GE(pixels.left, 0);
    // Centred as the static's style says, and underlined: one row runs the whole text's width.
    EXPECT_LE(std::abs(pixels.left - (pixels.width - 1 - pixels.right)), 2);
    EXPECT_GE(pixels.widestRow, (pixels.right - pixels.left + 1) * 9 / 10);
}

TEST_F(HyperLinkTest, ATargetThatCannotBeOpenedFailsWithoutABox)
{
    CHyperLink link;
    ASSERT_TRUE(link.SubclassStatic(MakeStatic(L"link", SS_LEFT), L"Z:\\no\\such\\folder\\missing.quillon-nothing"));
    EXPECT_FALSE(link.Navigate());
    // A click opens the same target; it must come back as well.
    ::SendMessageW(link.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(::IsWindow(link.m_hWnd));
}

}
