// The About box over the module's own resources (linked into this test program): its texts, the
// product version from the version resource, the white band, the link, and a screenshot.
#include "AboutDialog.h"
#include "ModuleState.h"
#include "resource.h"

#include <Framework/Handles.h>
#include <Framework/Resources.h>
#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <string>

using namespace Orvane::Quillon;

namespace {

// The product version text of the version resource in res/Quillpage.rc.
const wchar_t kProductVersion[] = L"3, 0, 0, 25";

class AboutDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(InitModule(::GetModuleHandleW(nullptr))); }
};

// A modeless About box for looking at its windows and its painting in this thread.
class ModelessAbout : public CAboutDialog {
public:
    ~ModelessAbout()
    {
        if (m_hWnd)
            ::DestroyWindow(m_hWnd);
    }
};

// The colour at (x, y) of what the window paints for WM_PRINTCLIENT.
class PrintedClient {
public:
    explicit PrintedClient(HWND window)
    {
        ::GetClientRect(window, &area_);
        Framework::WindowDC screen(window);
        bitmap_.Reset(::CreateCompatibleBitmap(screen.Get(), area_.right, area_.bottom));
        memory_.Reset(::CreateCompatibleDC(screen.Get()));
        previous_ = ::SelectObject(memory_.Get(), bitmap_.Get());
        // A colour that nothing paints, so that unpainted parts show.
        Framework::ScopedBrush marker(::CreateSolidBrush(RGB(255, 0, 255)));
        ::FillRect(memory_.Get(), &area_, marker.Get());
        ::SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory_.Get()), PRF_CLIENT);
    }
    ~PrintedClient() { ::SelectObject(memory_.Get(), previous_); }
    COLORREF At(int x, int y) const { return ::GetPixel(memory_.Get(), x, y); }
    bool Contains(COLORREF color) const
    {
        for (int y = 0; y < area_.bottom; ++y)
            for (int x = 0; x < area_.right; ++x)
                if (At(x, y) == color)
                    return true;
        return false;
    }
    const RECT& Area() const noexcept { return area_; }

private:
    RECT area_{};
    // The DC goes before the bitmap that is selected into it.
    Framework::ScopedBitmap bitmap_;
    Framework::ScopedDC memory_;
    HGDIOBJ previous_ = nullptr;
};

TEST_F(AboutDialogTest, ShowsModallyWithItsTextsAndEndsWithOk)
{
    ::CreateDirectoryW((TestSupport::BuildFolder() + L"\\screenshots").c_str(), nullptr);
    TestSupport::DialogAnswerer answerer(L"About Quillon", IDOK, 10000, 0, {},
                                         TestSupport::BuildFolder() + L"\\screenshots\\quillpage-about.bmp");
    EXPECT_EQ(ShowAboutDialog(nullptr), 1);
    ASSERT_TRUE(answerer.Join());
    const std::wstring texts = answerer.StaticTexts();
    for (const std::wstring& text : {std::wstring(L"Version:"), std::wstring(kProductVersion),
                                     Framework::LoadResourceString(IDS_WEB_ADDRESS)})
        EXPECT_NE(texts.find(text), std::wstring::npos) << TestSupport::Narrow(text) << " in " << TestSupport::Narrow(texts);
    EXPECT_EQ(texts.find(L"1.0.0.0"), std::wstring::npos) << "the template's version text stayed";
}

TEST_F(AboutDialogTest, WindowStylesAndControls)
{
    ModelessAbout dialog;
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    EXPECT_TRUE(dialog.GetExStyle() & WS_EX_TOPMOST);
    EXPECT_TRUE(dialog.GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_EQ(dialog.GetWindowText(), L"About Quillon");
    EXPECT_EQ(Framework::CWindow(dialog.GetDlgItem(IDC_ABOUT_VERSION)).GetWindowText(), kProductVersion);

    HWND ok = dialog.GetDlgItem(IDOK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(::SendMessageW(ok, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, static_cast<LRESULT>(DLGC_DEFPUSHBUTTON));

    // The link takes the mouse itself (a plain static lets it through) and draws in the link colour.
    HWND link = dialog.GetDlgItem(IDC_ABOUT_HYPERLINK);
    ASSERT_NE(link, nullptr);
    RECT linkArea{};
    ::GetWindowRect(link, &linkArea);
    EXPECT_EQ(::SendMessageW(link, WM_NCHITTEST, 0, MAKELPARAM(linkArea.left + 2, linkArea.top + 2)), HTCLIENT);
    EXPECT_TRUE(PrintedClient(link).Contains(Framework::CHyperLink::LinkColor));
    EXPECT_FALSE(PrintedClient(dialog.GetDlgItem(IDC_ABOUT_VERSION)).Contains(Framework::CHyperLink::LinkColor));
}

TEST_F(AboutDialogTest, PaintsTheWhiteBandEndedByAShadowLine)
{
    ModelessAbout dialog;
    ASSERT_NE(dialog.Create(nullptr), nullptr);
    PrintedClient printed(dialog);
    const int right = printed.Area().right;
    ASSERT_GT(printed.Area().bottom, CAboutDialog::BandBottom + 10);
    struct Case {
        int x;
        int y;
        COLORREF color;
    };
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const Case cases[] = {
        {0, 0, white},
        {right - 1, 0, white},
        {right / 2, CAboutDialog::BandBottom - 1, white},
        {0, CAboutDialog::BandBottom, shadow},
        {right - 2, CAboutDialog::BandBottom, shadow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printed.At(c.x, c.y), c.color) << c.x << ", " << c.y;
    // Below the band nothing of it is painted.
    EXPECT_NE(printed.At(right / 2, CAboutDialog::BandBottom + 5), white);
    EXPECT_NE(printed.At(right / 2, CAboutDialog::BandBottom + 5), shadow);
}

TEST_F(AboutDialogTest, ProductVersionTextIsTheResourceTextUnchanged)
{
    EXPECT_EQ(ModuleProductVersionText(::GetModuleHandleW(nullptr)), kProductVersion);
    // A module without a version resource has no text (the box then keeps its template's).
    Framework::ScopedLibrary bare(::LoadLibraryW((TestSupport::BuildFolder() + L"\\tests\\CommonTestNoVersion.dll").c_str()));
    ASSERT_TRUE(bare);
    EXPECT_EQ(ModuleProductVersionText(bare.Get()), L"");
}

}
