// The proxy settings dialog on real files, driven from a second thread as a user would: the values
// it shows, the section it writes, the bytes it keeps, and the cases where it must write nothing.
#include "PageTestSupport.h"

#include "ModuleState.h"
#include "ProxySettingsDialog.h"
#include "resource.h"

#include <Framework/Handles.h>
#include <Framework/Resources.h>
#include <TestSupport/WindowDriver.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace std::string_literals;
using Orvane::Quillon::ProxySettingsDialog;
using PageTest::ItemText;
using PageTest::ModalDriver;
using PageTest::PostClick;
using PageTest::SetItemText;

const wchar_t kCaption[] = L"Proxy settings";

// What the dialog showed when it opened.
struct Shown {
    std::wstring connect, receive, send;
    bool checked = false;
};

Shown ReadShown(HWND dialog)
{
    Shown shown;
    shown.connect = ItemText(dialog, IDC_CONNECT_TIMEOUT);
    shown.receive = ItemText(dialog, IDC_RECEIVE_TIMEOUT);
    shown.send = ItemText(dialog, IDC_SEND_TIMEOUT);
    shown.checked = ::SendMessageW(::GetDlgItem(dialog, IDC_SUPPRESS_ERRORS), BM_GETCHECK, 0, 0) == BST_CHECKED;
    return shown;
}

class ProxySettingsDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(Orvane::Quillon::InitModule(::GetModuleHandleW(nullptr)));
        ::CreateDirectoryW((TestSupport::BuildFolder() + L"\\screenshots").c_str(), nullptr);
    }
    void SetUp() override
    {
        folder_ = std::make_unique<TestSupport::TempFolder>(L"quillpage-proxy");
        path_ = folder_->File(L"site.conf");
    }
    void TearDown() override
    {
        ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        folder_.reset();
    }

    // Runs the dialog on the file; the driver gets the dialog window on its own thread.
    INT_PTR Run(const std::function<void(HWND)>& action, bool* closedByItself = nullptr)
    {
        ProxySettingsDialog dialog(path_);
        ModalDriver driver(kCaption, action);
        INT_PTR result = dialog.DoModal(nullptr);
        EXPECT_TRUE(driver.Join()) << "the dialog did not show";
        if (closedByItself)
            *closedByItself = driver.Closed();
        return result;
    }
    std::string File() const
    {
        std::string bytes;
        return TestSupport::TryReadWholeFile(path_, bytes) ? bytes : "<missing>";
    }

    std::unique_ptr<TestSupport::TempFolder> folder_;
    std::wstring path_;
};

TEST_F(ProxySettingsDialogTest, ShowsTheFilesValuesAndWritesBackOnlyTheDifferentOnes)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(
        path_, "RewriteEngine On\r\n<Orvane>\r\nProxyConnectTimeout 90\r\nProxySuppressErrors Off\r\n</Orvane>\r\n"));
    Shown shown;
    INT_PTR result = Run([&](HWND dialog) {
        shown = ReadShown(dialog);
        TestSupport::SaveWindowScreenshot(dialog, TestSupport::BuildFolder() + L"\\screenshots\\quillpage-proxy-dialog.bmp");
        PostClick(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shown.connect, L"90");
    EXPECT_EQ(shown.receive, L"30");
    EXPECT_EQ(shown.send, L"30");
    EXPECT_FALSE(shown.checked);
    EXPECT_EQ(File(), "RewriteEngine On\r\n\r\n\r\n<Orvane>\r\nProxyConnectTimeout 90\r\nProxySuppressErrors Off\n</Orvane>");
    // The configuration writer's files are hidden.
    EXPECT_TRUE(::GetFileAttributesW(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

struct OkCase {
    const char* name;
    std::string before;  // "<missing>": no file
    const wchar_t* connect;  // null: leave the field as shown
    const wchar_t* receive;
    const wchar_t* send;
    int check;  // -1: leave the box as shown
    std::string after;
};

class ProxySettingsOkTest : public ProxySettingsDialogTest, public ::testing::WithParamInterface<OkCase> {};

TEST_P(ProxySettingsOkTest, WritesTheSectionAndKeepsEveryOtherByte)
{
    const OkCase& c = GetParam();
    if (c.before != "<missing>") {
        ASSERT_TRUE(TestSupport::WriteWholeFile(path_, c.before));
    }
    INT_PTR result = Run([&](HWND dialog) {
        if (c.connect)
            SetItemText(dialog, IDC_CONNECT_TIMEOUT, c.connect);
        if (c.receive)
            SetItemText(dialog, IDC_RECEIVE_TIMEOUT, c.receive);
        if (c.send)
            SetItemText(dialog, IDC_SEND_TIMEOUT, c.send);
        if (c.check >= 0)
            ::SendMessageW(::GetDlgItem(dialog, IDC_SUPPRESS_ERRORS), BM_SETCHECK, static_cast<WPARAM>(c.check), 0);
        PostClick(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(File(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Files, ProxySettingsOkTest, ::testing::Values(
    OkCase{"MissingFileGetsTheSectionAlone", "<missing>", nullptr, nullptr, nullptr, -1, "<Orvane>\r\n</Orvane>"},
    OkCase{"AllDefaultsGiveAnEmptySection", "A\r\n", L"60", L"30", L"30", 1, "A\r\n\r\n<Orvane>\r\n</Orvane>"},
    OkCase{"EmptyFieldIsZero", "", L"", nullptr, nullptr, -1, "<Orvane>\r\nProxyConnectTimeout 0\r\n</Orvane>"},
    OkCase{"LargestTimeOut", "", nullptr, L"2147483", nullptr, 0,
           "<Orvane>\r\nProxyReceiveTimeout 2147483\r\nProxySuppressErrors Off\n</Orvane>"},
    OkCase{"SectionInTheMiddle", "A\r\n<orvane>\r\nProxySendTimeout 5\r\n</ORVANE>\r\nB", nullptr, nullptr, L"7", -1,
           "A\r\n\r\nB\r\n<Orvane>\r\nProxySendTimeout 7\r\n</Orvane>"},
    OkCase{"ClosingTagWithAComment", "A\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane> # end\r\nB", nullptr, nullptr, L"7", -1,
           "A\r\n\r\nB\r\n<Orvane>\r\nProxySendTimeout 7\r\n# end\r\n</Orvane>"},
    // The parser reads up to the first NUL byte: the section goes in front of it, every byte stays.
    OkCase{"OtherBytesKept", "x\0y\r\x80\xfe\n<Orvane>\nProxySendTimeout 9\n</Orvane>\rz\xff"s, nullptr, nullptr, L"9", -1,
           "<Orvane>\r\nProxySendTimeout 9\r\n</Orvane>\r\nx\0y\r\x80\xfe\n<Orvane>\nProxySendTimeout 9\n</Orvane>\rz\xff"s},
    OkCase{"CommentedTagsStay", "# <Orvane>\r\nA\r\n", nullptr, nullptr, nullptr, -1,
           "# <Orvane>\r\nA\r\n\r\n<Orvane>\r\n</Orvane>"},
    // A section that is never closed runs to the end; what is no setting in it stays in it.
    OkCase{"OpeningTagWithoutClosingKeepsTheLinesInIt", "<Orvane>\r\nRewriteEngine On\r\n", nullptr, nullptr, nullptr, -1,
           "<Orvane>\r\nRewriteEngine On\r\n</Orvane>"}),
    [](const ::testing::TestParamInfo<OkCase>& info) { return std::string(info.param.name); });

TEST_F(ProxySettingsDialogTest, CancelWritesNothing)
{
    ASSERT_TRUE(TestSupport::WriteWholeFile(path_, "A\r\n"));
    INT_PTR result = Run([&](HWND dialog) {
        SetItemText(dialog, IDC_CONNECT_TIMEOUT, L"5");
        PostClick(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(File(), "A\r\n");
}

// Cases where OK must not write: the dialog says why, stays open, and the file keeps its bytes.
struct RefusalCase {
    const char* name;
    const char* before;    // the file, null for kBefore
    const wchar_t* field;  // the connect time-out's new text, null to leave it
    DWORD holdAccess;      // a handle the test holds on the file meanwhile (0: none)
    DWORD holdShare;
    UINT message;
    const wchar_t* says;   // a text the message holds, null when its resource is enough
};

const char kBefore[] = "RewriteEngine On\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n";

class ProxySettingsRefusalTest : public ProxySettingsDialogTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(ProxySettingsRefusalTest, TellsTheUserAndChangesNothing)
{
    const RefusalCase& c = GetParam();
    const std::string before = c.before ? c.before : kBefore;
    ASSERT_TRUE(TestSupport::WriteWholeFile(path_, before));
    Framework::ScopedFile held;
    std::wstring text;
    bool stayedOpen = false;
    INT_PTR result = Run([&](HWND dialog) {
        if (c.field)
            SetItemText(dialog, IDC_CONNECT_TIMEOUT, c.field);
        if (c.holdAccess)
            held.Reset(::CreateFileW(path_.c_str(), c.holdAccess, c.holdShare, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        {
            TestSupport::BoxAnswerer box(L"Error", IDOK);
            PostClick(dialog, IDOK);
            TestSupport::WaitUntil([&] { return box.Answered(); }, 10000, false);
            text = box.Text();
        }
        ::Sleep(200);
        stayedOpen = ::IsWindow(dialog) != FALSE;
        held.Reset();
        PostClick(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(text.rfind(Framework::LoadResourceString(c.message), 0), 0u) << TestSupport::Narrow(text);
    if (c.says) {
        EXPECT_NE(text.find(c.says), std::wstring::npos) << TestSupport::Narrow(text);
    }
    EXPECT_EQ(File(), before);
}

INSTANTIATE_TEST_SUITE_P(Faults, ProxySettingsRefusalTest, ::testing::Values(
    RefusalCase{"TimeOutTooLarge", nullptr, L"2147484", 0, 0, IDS_PROXY_OUT_OF_RANGE, L"between 0 and 2147483 seconds"},
    RefusalCase{"TimeOutFarTooLarge", nullptr, L"99999999999", 0, 0, IDS_PROXY_OUT_OF_RANGE, nullptr},
    RefusalCase{"NegativeTimeOut", nullptr, L"-3", 0, 0, IDS_PROXY_OUT_OF_RANGE, L"between 0 and 2147483 seconds"},
    RefusalCase{"FileLockedAgainstReading", nullptr, nullptr, GENERIC_READ | GENERIC_WRITE, 0, IDS_PROXY_UNREADABLE, nullptr},
    RefusalCase{"FileCannotBeReplaced", nullptr, nullptr, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, IDS_PROXY_UNWRITTEN,
                nullptr},
    // The whole language reads this section as the virtual host's: no placement keeps the file's reading.
    RefusalCase{"SectionOfAVirtualHost",
                "<VirtualHost *>\r\n<Orvane>\r\nProxySendTimeout 5\r\n</Orvane>\r\n</VirtualHost>\r\n", L"7", 0, 0,
                IDS_PROXY_NOT_REWRITABLE, nullptr}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

}
