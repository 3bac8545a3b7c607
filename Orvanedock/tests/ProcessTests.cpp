// Orvanedock.exe started as its own process and driven from this one, as a user would: windows
// found by class and title, tree items read in the program's memory, nodes selected and expanded.
#include "ExtensionRegistration.h"
#include "ProgramDriver.h"
#include <TestSupport/SiteFiles.h>
#include "extension/TestExtension.h"

#include <Framework/Handles.h>
#include <TestSupport/IisStoreStandIn.h>

#include <TestSupport/RemoteMemory.h>
#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

using namespace OrvanedockTest;
using TestSupport::SiteFiles;
using namespace TestSupport;

namespace {

std::string Text(const std::wstring& text)
{
    return Narrow(text);
}

// No extension of the maker may be registered for the tests that expect none.
bool MakerExtensionRegistered()
{
    Framework::ScopedRegKey snapins;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\MMC\\SnapIns", 0, KEY_READ, snapins.Receive()) !=
        ERROR_SUCCESS)
        return false;
    bool found = false;
    wchar_t name[256];
    for (DWORD i = 0; !found; ++i) {
        DWORD length = 256;
        if (::RegEnumKeyExW(snapins.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        wchar_t provider[64] = {};
        DWORD bytes = sizeof(provider) - sizeof(wchar_t);
        found = ::RegGetValueW(snapins.Get(), name, L"Provider", RRF_RT_REG_SZ, nullptr, provider, &bytes) == ERROR_SUCCESS &&
                std::wstring(provider) == L"Orvane";
    }
    return found;
}

TEST(OrvanedockProcess, WithoutExtensionsWarnsThenRunsTheFrame)
{
    ASSERT_FALSE(MakerExtensionRegistered()) << "another test left an extension of the maker registered";
    Program program;
    ASSERT_TRUE(program.Start(true));
    EXPECT_EQ("Orvane IIS Extensions not found", Text(program.warning));

    // The frame: its title, its size, centred; the tree with its root.
    EXPECT_EQ(L"Orvanedock", program.Title());
    RECT frame = WindowRect(program.frame);
    EXPECT_EQ(700, frame.right - frame.left);
    EXPECT_EQ(450, frame.bottom - frame.top);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((work.left + work.right) / 2, (frame.left + frame.right) / 2, 2);
    EXPECT_EQ(230, Width(program.tree));
    const LONG style = ::GetWindowLongW(program.tree, GWL_STYLE);
    EXPECT_EQ(static_cast<LONG>(TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | WS_TABSTOP),
              style & (TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS | WS_TABSTOP | TVS_LINESATROOT));
    HTREEITEM root = program.Item(TVGN_ROOT);
    ASSERT_NE(nullptr, root);
    EXPECT_EQ("IIS Web Sites", Text(program.ItemText(root)));
    EXPECT_EQ(root, program.Item(TVGN_CARET));

    // Selecting shows no pages; the title stays; the program answers.
    program.Select(nullptr);
    program.Select(root);
    EXPECT_EQ(L"Orvanedock", program.Title());
    EXPECT_EQ(nullptr, program.Sheet());
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(program.frame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
    SaveScreenshot(program.frame, L"orvanedock-no-extensions.bmp");

    // Never smaller than 700 x 450.
    ::SetWindowPos(program.frame, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    frame = WindowRect(program.frame);
    EXPECT_EQ(700, frame.right - frame.left);
    EXPECT_EQ(450, frame.bottom - frame.top);

    // The tree pane takes every change of width; narrowing stops at 230.
    struct Step {
        int frameWidth;
        int treeWidth;
    } steps[] = {{800, 330}, {750, 280}, {700, 230}, {900, 430}, {700, 230}};
    for (const Step& step : steps) {
        ::SetWindowPos(program.frame, nullptr, 0, 0, step.frameWidth, 450, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(step.treeWidth, Width(program.tree)) << step.frameWidth;
    }

    // A second start gives way to the running one.
    ChildProcess second;
    ASSERT_TRUE(second.Start(ProgramPath(), L""));
    EXPECT_EQ(0u, second.Wait(kTimeoutMs));
    EXPECT_EQ(1u, FindTopWindows(program.process.ProcessId(), kFrameClass, nullptr).size() +
                      FindTopWindows(second.ProcessId(), kFrameClass, nullptr, false).size());

    ::PostMessageW(program.frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(1u, program.process.Wait(kTimeoutMs)) << "a normal end";
}

TEST(OrvanedockProcess, RootShowsTheExtensionsPageUntilCancelThenANewSheet)
{
    ExtensionRegistration page(HKEY_LOCAL_MACHINE, kPageExtension, TestExtensionPath(), L"Orvane", {4});
    ASSERT_TRUE(page.Succeeded());
    Program program;
    ASSERT_TRUE(program.Start(false));
    ASSERT_TRUE(program.WaitForTitle(L"Orvanedock - IIS Web Sites")) << Text(program.Title());
    HWND sheet = program.Sheet();
    ASSERT_NE(nullptr, sheet);
    EXPECT_TRUE(::GetWindowLongW(sheet, GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(::GetWindowLongW(sheet, GWL_STYLE) & WS_CAPTION);
    for (int button : {IDOK, IDCANCEL}) {
        HWND control = ::GetDlgItem(sheet, button);
        ASSERT_NE(nullptr, control);
        EXPECT_FALSE(::IsWindowVisible(control));
        EXPECT_FALSE(::IsWindowEnabled(control));
    }
    HWND text = FindChild(sheet, [](HWND w) { return ::GetDlgCtrlID(w) == kPageTextId; });
    ASSERT_NE(nullptr, text);
    EXPECT_EQ("One: /LM/W3SVC//", Text(WindowText(text)));
    SaveScreenshot(program.frame, L"orvanedock-page.bmp");

    // Cancel ends the sheet: no selection, an empty right pane, the plain title.
    ::SendMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(sheet); }, kTimeoutMs, false));
    EXPECT_TRUE(WaitUntil([&] { return program.Item(TVGN_CARET) == nullptr; }, kTimeoutMs, false));
    EXPECT_TRUE(program.WaitForTitle(L"Orvanedock"));

    // Selecting the root again builds a new sheet with a fresh page.
    program.Select(program.Item(TVGN_ROOT));
    ASSERT_TRUE(program.WaitForTitle(L"Orvanedock - IIS Web Sites"))
        << Text(program.Title()) << " caret " << program.Item(TVGN_CARET) << " note " << ::IsWindowVisible(program.NoProperties());
    HWND again = program.Sheet();
    ASSERT_NE(nullptr, again);
    HWND againText = FindChild(again, [](HWND w) { return ::GetDlgCtrlID(w) == kPageTextId; });
    ASSERT_NE(nullptr, againText);
    EXPECT_EQ("One: /LM/W3SVC//", Text(WindowText(againText)));

    // OK ends it the same way; a click on the root then builds the next one.
    ::SendMessageW(again, PSM_PRESSBUTTON, PSBTN_OK, 0);
    EXPECT_TRUE(WaitUntil([&] { return program.Item(TVGN_CARET) == nullptr && !::IsWindow(again); }, kTimeoutMs, false));
    ::PostMessageW(program.tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 8));
    ::PostMessageW(program.tree, WM_LBUTTONUP, 0, MAKELPARAM(40, 8));
    EXPECT_TRUE(program.WaitForTitle(L"Orvanedock - IIS Web Sites"));
    HWND third = program.Sheet();
    ASSERT_NE(nullptr, third);

    // Escape in the page's field is the sheet's Cancel.
    HWND field = FindChild(third, [](HWND w) { return ::GetDlgCtrlID(w) == kPageEditId; });
    ASSERT_NE(nullptr, field);
    ::PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(field, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return program.Item(TVGN_CARET) == nullptr && !::IsWindow(third); }, kTimeoutMs, false));
}

TEST(OrvanedockProcess, PagesOfTwoExtensionsShareOneSheet)
{
    ExtensionRegistration first(HKEY_LOCAL_MACHINE, kPageExtension, TestExtensionPath(), L"Orvane", {4});
    ExtensionRegistration second(HKEY_LOCAL_MACHINE, kSecondPageExtension, TestExtensionPath(), L"Orvane", {4});
    ASSERT_TRUE(first.Succeeded() && second.Succeeded());
    Program program;
    ASSERT_TRUE(program.Start(false));
    ASSERT_TRUE(program.WaitForTitle(L"Orvanedock - IIS Web Sites"));
    HWND sheet = program.Sheet();
    ASSERT_NE(nullptr, sheet);
    HWND tab = FindChild(sheet, [](HWND w) { return ClassNameOf(w) == L"SysTabControl32"; });
    ASSERT_NE(nullptr, tab);
    ASSERT_EQ(2, ::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0));
    // In the order the snap-in keys are listed, which is the order of their class identifiers.
    EXPECT_EQ("One", Text(RemoteTabText(program.process.Handle(), tab, 0)));
    EXPECT_EQ("Two", Text(RemoteTabText(program.process.Handle(), tab, 1)));
}

TEST(OrvanedockProcess, NodeWithoutPagesShowsTheNoPropertiesText)
{
    ExtensionRegistration refusing(HKEY_LOCAL_MACHINE, kRefusingExtension, TestExtensionPath(), L"Orvane", {4});
    ASSERT_TRUE(refusing.Succeeded());
    Program program;
    ASSERT_TRUE(program.Start(false));
    HWND note = program.NoProperties();
    ASSERT_NE(nullptr, note);
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(note) != FALSE; }, kTimeoutMs, false));
    EXPECT_EQ("No properties available for this node.", Text(WindowText(note)));
    EXPECT_TRUE(::GetWindowLongW(note, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(L"Orvanedock", program.Title());
    EXPECT_EQ(nullptr, program.Sheet());
}

TEST(OrvanedockProcess, SitesFromTheStoreExpandWithKeysAndShowTheirPages)
{
    Framework::ComInitialization com;
    ASSERT_EQ(S_OK, TestSupport::RegisterIisStoreStandIn());
    SiteFiles files(L"orvanedock-process");
    ASSERT_TRUE(files.Folders({L"one\\a\\inner", L"one\\b", L"shop\\css"}));
    const std::wstring description = files.Description(LR"(absent metabase
site 1 Default Web Site
root {B}\one
vdir /img {B}\one
app /shop {B}\shop
site 2 Second
root {B}\two
)");
    ASSERT_TRUE(TestSupport::UseSiteDescription(description));
    // An extension for web sites only.
    ExtensionRegistration page(HKEY_LOCAL_MACHINE, kPageExtension, TestExtensionPath(), L"Orvane", {8});
    ASSERT_TRUE(page.Succeeded());

    Program program;
    ASSERT_TRUE(program.Start(false));
    TestSupport::UseSiteDescription(L"");
    HTREEITEM root = program.Item(TVGN_ROOT);
    EXPECT_EQ((std::vector<std::string>{"Default Web Site", "Second"}), program.ChildTexts(root));
    // The root has no pages: the note, and the plain title.
    EXPECT_EQ(L"Orvanedock", program.Title());

    HTREEITEM site = program.ChildNamed(root, L"Default Web Site");
    ASSERT_NE(nullptr, site);
    EXPECT_EQ(std::vector<std::string>{"temp"}, program.ChildTexts(site)) << "not asked before its first opening";
    program.ExpandByKey(site);
    // Siblings sorted by text: folders, virtual directories and applications together.
    EXPECT_EQ((std::vector<std::string>{"a", "b", "img", "shop"}), program.ChildTexts(site));

    // The site's page with the site's metabase path; the title names the node.
    ASSERT_TRUE(program.WaitForTitle(L"Orvanedock - Default Web Site")) << Text(program.Title());
    HWND sheet = program.Sheet();
    ASSERT_NE(nullptr, sheet);
    HWND text = FindChild(sheet, [](HWND w) { return ::GetDlgCtrlID(w) == kPageTextId; });
    ASSERT_NE(nullptr, text);
    EXPECT_EQ("One: /LM/W3SVC/1/ROOT/", Text(WindowText(text)));
    SaveScreenshot(program.frame, L"orvanedock-site-page.bmp");

    // A folder: no extension for it, the note instead of pages.
    HTREEITEM folder = program.ChildNamed(site, L"a");
    ASSERT_NE(nullptr, folder);
    program.ExpandByKey(folder);
    EXPECT_EQ(std::vector<std::string>{"inner"}, program.ChildTexts(folder));
    ASSERT_TRUE(program.WaitForTitle(L"Orvanedock"));
    EXPECT_TRUE(::IsWindowVisible(program.NoProperties()));
    EXPECT_EQ(nullptr, program.Sheet());

    // A node whose store lookups find nothing loses its placeholder.
    HTREEITEM second = program.ChildNamed(root, L"Second");
    ASSERT_NE(nullptr, second);
    program.Select(second);
    ::PostMessageW(program.tree, WM_KEYDOWN, VK_ADD, 0);
    EXPECT_TRUE(WaitUntil([&] { return program.ChildTexts(second).empty(); }, kTimeoutMs, false));
}

}
