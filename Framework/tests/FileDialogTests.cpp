// The file dialog: its structure in both forms as the system receives it, and a real old-syntax
// dialog under the test's X server, closed by its own buttons.
#include "Framework/FileDialog.h"

#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

using Framework::FileDialog;

namespace {

#ifndef _WIN64
static_assert(FileDialog::kStructureSize == 76, "the old-syntax structure is 76 bytes on 32-bit");
#endif

TEST(FileDialog, StructureHoldsTheOldSizeBuffersFilterAndFrameworkFlags)
{
    FileDialog dialog(true, L"ini", L"httpd.ini", OFN_HIDEREADONLY, {{L"Ini files ", L"*.ini"}, {L"All", L"*.*"}});
    const OPENFILENAMEW& ofn = dialog.Structure();
    EXPECT_EQ(ofn.lStructSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400W));
    EXPECT_EQ(ofn.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | 0x880020));
    EXPECT_EQ(ofn.hwndOwner, nullptr);
    EXPECT_NE(ofn.lpfnHook, nullptr);
    EXPECT_EQ(ofn.nMaxFile, 260u);
    EXPECT_EQ(ofn.nMaxFileTitle, 256u);
    EXPECT_EQ(std::wstring(ofn.lpstrFile), L"httpd.ini");
    EXPECT_EQ(std::wstring(ofn.lpstrDefExt), L"ini");
    const std::wstring expected(L"Ini files \0*.ini\0All\0*.*\0\0", 26);
    EXPECT_EQ(std::wstring(ofn.lpstrFilter, expected.size()), expected);
    EXPECT_EQ(ofn.nFilterIndex, 1u);

    // An initial name longer than the buffer is cut, not written past it.
    FileDialog longName(true, L"", std::wstring(400, L'n'), 0, {});
    EXPECT_EQ(std::wstring(longName.Structure().lpstrFile), std::wstring(259, L'n'));
    EXPECT_EQ(longName.Structure().lpstrFilter, nullptr);
    EXPECT_EQ(longName.Structure().lpstrDefExt, nullptr);
}

TEST(FileDialog, PlatformFormHasTheWholeStructureTheCallersFlagsAloneAndNoHook)
{
    const DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    FileDialog dialog(false, L"", L"", flags, {}, FileDialog::Form::Platform);
    const OPENFILENAMEW& ofn = dialog.Structure();
    EXPECT_EQ(ofn.lStructSize, static_cast<DWORD>(sizeof(OPENFILENAMEW)));
    EXPECT_EQ(ofn.Flags, flags);
    EXPECT_EQ(ofn.lpfnHook, nullptr);
    EXPECT_EQ(ofn.hwndOwner, nullptr);
    EXPECT_EQ(ofn.nMaxFile, 32768u);
    EXPECT_EQ(std::wstring(ofn.lpstrFile), L"");
    EXPECT_EQ(ofn.lpstrFilter, nullptr);
    EXPECT_EQ(ofn.nFilterIndex, 0u);
    EXPECT_EQ(ofn.lpstrDefExt, nullptr);

    // A long initial name fits the long buffer whole.
    const std::wstring longName(400, L'n');
    FileDialog named(true, L"", longName, 0, {}, FileDialog::Form::Platform);
    EXPECT_EQ(std::wstring(named.Structure().lpstrFile), longName);
}

// Presses a button of the first file dialog this process shows, after saving its picture.
void PressWhenShown(int command, std::atomic<bool>& pressed, const std::wstring& screenshot)
{
    HWND window = TestSupport::WaitForTopWindow(0, L"#32770", nullptr, 10000);
    if (!window)
        return;
    ::Sleep(300);
    if (!screenshot.empty())
        TestSupport::SaveWindowScreenshot(window, screenshot);
    pressed = ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0) != 0;
}

TEST(FileDialog, ShownModallyAndClosedByItsButtons)
{
    wchar_t temp[MAX_PATH] = {};
    ASSERT_TRUE(::GetTempPathW(MAX_PATH, temp));
    ASSERT_TRUE(::SetCurrentDirectoryW(temp));
    const struct {
        int command;
        INT_PTR result;
        const wchar_t* screenshot;
    } cases[] = {{IDCANCEL, IDCANCEL, L"\\FileDialog.bmp"}, {IDOK, IDOK, nullptr}};
    for (const auto& c : cases) {
        FileDialog dialog(true, L"ini", L"httpd.ini", 0, {{L"Ini files ", L"*.ini"}});
        std::atomic<bool> pressed{false};
        std::thread presser(PressWhenShown, c.command, std::ref(pressed),
                            c.screenshot ? TestSupport::BuildFolder() + c.screenshot : std::wstring());
        const INT_PTR result = dialog.DoModal();
        presser.join();
        EXPECT_TRUE(pressed);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(dialog.Error(), 0u);
        EXPECT_EQ(dialog.Structure().hwndOwner, nullptr);
        if (result == IDOK) {
            EXPECT_EQ(dialog.FileTitle(), L"httpd.ini");
            const std::wstring chosen = dialog.FileName();
            EXPECT_EQ(chosen, std::wstring(temp) + L"httpd.ini");
        }
    }
}

}
