// Load and save: header written or refreshed, CR LF and attributes on disk, empty text deletes,
// failures keep the old file, big and binary files.
#include "FrameFixture.h"

#include "Framework/Handles.h"
#include "TestSupport/WindowDriver.h"

#include <dlgs.h>

#include <thread>

using namespace Orvane::Quillpen;

namespace {

const char kHeader[] = "# Orvane Quillon configuration file\r\n# Version 3.0.0.25\r\n";

class FileTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        folder_ = std::make_unique<TestSupport::TempFolder>(L"quillpen-files");
        path_ = folder_->File(L"site.conf");
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        folder_.reset();
    }
    void Open(const std::string& bytes)
    {
        ASSERT_TRUE(TestSupport::WriteWholeFile(path_, bytes));
        ASSERT_TRUE(Frame().OpenConfigFile(path_, L"site.conf"));
        Pump();
    }
    std::string OnDisk() { return TestSupport::ReadWholeFile(path_); }

    std::unique_ptr<TestSupport::TempFolder> folder_;
    std::wstring path_;
};

TEST_F(FileTest, SaveWritesOrRefreshesTheHeader)
{
    struct Case {
        const char* before;
        std::string after;
    };
    const Case cases[] = {
        {"RewriteEngine On\r\n", std::string(kHeader) + "\r\nRewriteEngine On\r\n"},
        {"# Orvane Quillon configuration file\r\n# Version 2.1.0.7\r\nRewriteEngine On\r\n",
         std::string(kHeader) + "RewriteEngine On\r\n"},
        {"# Orvane Quillon configuration file\r\n# Versions\r\nRewriteEngine On\r\n",
         std::string(kHeader) + "\r\n# Orvane Quillon configuration file\r\n# Versions\r\nRewriteEngine On\r\n"},
    };
    for (const Case& c : cases) {
        Open(c.before);
        View().SetSel(View().GetTextLength(), View().GetTextLength());
        View().ReplaceSel(L"# end", true);
        ASSERT_TRUE(Frame().SaveConfigFile());
        EXPECT_EQ(OnDisk(), c.after + "# end") << c.before;
        EXPECT_FALSE(View().GetModify());
        DWORD attributes = ::GetFileAttributesW(path_.c_str());
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
        ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(FileTest, SelectionMovesWithTheInsertedHeader)
{
    Open("RewriteEngine On\r\nRewriteBase /\r\n");
    View().SetSel(3, 5);
    View().ReplaceSel(L"w", true);
    View().SetSel(2, 4);
    ASSERT_TRUE(Frame().SaveConfigFile());
    CHARRANGE selection = View().GetSel();
    // Two header lines and a blank line came in front: 35 + 1 + 18 + 1 + 1 characters.
    EXPECT_EQ(selection.cpMin, 2 + 56);
    EXPECT_EQ(selection.cpMax, 4 + 56);
}

TEST_F(FileTest, EmptyTextDeletesTheFileAndCloses)
{
    Open("RewriteEngine On\r\n");
    SetText(L"");
    Command(ID_APPLY);
    EXPECT_FALSE(FrameAlive());
    EXPECT_EQ(::GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileTest, EmptyTextOnAFileThatCannotBeDeletedShowsTheErrorAndKeepsWindowAndFile)
{
    enum class Hold { OpenElsewhere, ReadOnly };
    for (Hold hold : {Hold::OpenElsewhere, Hold::ReadOnly}) {
        Open("RewriteEngine On\r\n");
        SetText(L"");
        Framework::ScopedFile holder;
        if (hold == Hold::OpenElsewhere) {
            holder.Reset(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder);
        } else {
            ASSERT_TRUE(::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        TestSupport::DialogAnswerer answer(L"Orvane Quillpen", IDOK);
        Command(ID_APPLY);
        ASSERT_TRUE(answer.Join());
        Pump();
        holder.Reset();
        ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(answer.StaticTexts().find(L"Saving file " + path_ + L"\nfailed with error "), 0u)
            << answer.StaticTexts().c_str();
        EXPECT_TRUE(FrameAlive());
        EXPECT_TRUE(View().GetModify());
        EXPECT_EQ(OnDisk(), "RewriteEngine On\r\n");
    }
}

TEST_F(FileTest, EmptyTextOnAFileAlreadyGoneCloses)
{
    Open("RewriteEngine On\r\n");
    SetText(L"");
    ASSERT_TRUE(::DeleteFileW(path_.c_str()));
    Command(ID_APPLY);
    EXPECT_FALSE(FrameAlive());
}

TEST_F(FileTest, ApplyWithSyntaxErrorKeepsWindowAndFile)
{
    Open("RewriteEngine On\r\n");
    SetText(L"RewriteEngine Of");
    TestSupport::DialogAnswerer answer(L"Error", IDOK);
    Command(ID_APPLY);
    ASSERT_TRUE(answer.Join());
    Pump();
    EXPECT_TRUE(FrameAlive());
    EXPECT_TRUE(View().GetModify());
    EXPECT_EQ(OnDisk(), "RewriteEngine On\r\n");
}

TEST_F(FileTest, LockedFileOnSaveStaysWholeAndShowsTheError)
{
    Open("RewriteEngine On\r\n");
    SetText(L"RewriteEngine Off");
    Framework::ScopedFile holder(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                               0, nullptr));
    ASSERT_TRUE(holder);
    TestSupport::DialogAnswerer answer(L"Orvane Quillpen", IDOK);
    EXPECT_FALSE(Frame().SaveConfigFile());
    ASSERT_TRUE(answer.Join());
    holder.Reset();
    EXPECT_EQ(answer.StaticTexts().find(L"Saving file " + path_ + L"\nfailed with error "), 0u) << answer.StaticTexts().c_str();
    EXPECT_TRUE(View().GetModify());
    EXPECT_EQ(OnDisk(), "RewriteEngine On\r\n");
    EXPECT_TRUE(FrameAlive());
}

TEST_F(FileTest, OpeningInAMissingFolderShowsTheErrorAndLeavesNoPath)
{
    std::wstring missing = folder_->File(L"missing\\site.conf");
    TestSupport::DialogAnswerer answer(L"Orvane Quillpen", IDOK);
    EXPECT_FALSE(Frame().OpenConfigFile(missing, L"site.conf"));
    ASSERT_TRUE(answer.Join());
    EXPECT_EQ(answer.StaticTexts().find(L"Opening file " + missing + L"\nfailed with error 3:\n"), 0u);
    EXPECT_TRUE(View().FilePath().empty());
}

TEST_F(FileTest, OpeningAMissingFileCreatesItEmpty)
{
    ASSERT_TRUE(Frame().OpenConfigFile(path_, L"site.conf"));
    Pump();
    EXPECT_EQ(View().GetTextLength(), 0);
    std::string bytes;
    EXPECT_TRUE(TestSupport::TryReadWholeFile(path_, bytes));
    EXPECT_FALSE(View().GetModify());
}

// A file above the control's text limit is read whole (the shipped limit is 4,000,000
// characters; a smaller one keeps the test fast under Wine), and line breaks that fall on the
// stream's block boundaries stay single.
TEST_F(FileTest, FileAboveTheTextLimitIsReadAndSavedWhole)
{
    std::string big;
    for (int i = 0; big.size() < 120 * 1024; ++i)
        big += "# comment line number " + std::to_string(i) + " with padding\r\n";
    View().LimitText(50000);
    Open(big);
    size_t lines = 0;
    for (char c : big)
        lines += c == '\n';
    EXPECT_EQ(static_cast<size_t>(View().GetTextLength()), big.size() - lines);
    View().SetSel(0, 0);
    View().ReplaceSel(L"RewriteEngine On\r", true);
    ASSERT_TRUE(Frame().CheckSyntax());
    ASSERT_TRUE(Frame().SaveConfigFile());
    std::string expected = std::string(kHeader) + "\r\nRewriteEngine On\r\n" + big;
    std::string disk = OnDisk();
    EXPECT_EQ(disk.size(), expected.size());
    EXPECT_TRUE(disk == expected);
}

// Lines of three bytes put a CR LF across a block boundary of the stream for every block size
// that is not a multiple of three: each still becomes one line break.
TEST_F(FileTest, ALineBreakAcrossAStreamBlockStaysSingle)
{
    std::string text;
    while (text.size() < 64 * 1024)
        text += "x\r\n";
    Open(text);
    EXPECT_EQ(static_cast<size_t>(View().GetTextLength()), text.size() / 3 * 2);
    ASSERT_TRUE(Frame().SaveConfigFile());
    EXPECT_TRUE(OnDisk() == std::string(kHeader) + "\r\n" + text);
}

TEST_F(FileTest, BinaryBytesLoadAndFailTheCheck)
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    bytes += "\r\nRewriteEngine On\r\n";
    Open(bytes);
    EXPECT_GT(View().GetTextLength(), 0);
    TestSupport::DialogAnswerer answer(L"Error", IDOK);
    EXPECT_FALSE(Frame().CheckSyntax());
    ASSERT_TRUE(answer.Join());
    EXPECT_NE(answer.EditText().find(L"Unknown expression on line #1"), std::wstring::npos);
    EXPECT_EQ(OnDisk(), bytes);
}

}

namespace {

TEST_F(FileTest, ApplyOnUntitledTextSavesUnderTheChosenName)
{
    SetText(L"RewriteEngine On");
    std::wstring chosen = folder_->File(L"chosen.conf");
    std::thread helper([&] {
        HWND dialog = TestSupport::WaitForTopWindow(0, L"#32770", L"Save As", 15000);
        if (!dialog)
            return;
        ::Sleep(300);
        // The file name box is a combo box (explorer style) or an edit (old style).
        HWND name = ::GetDlgItem(dialog, cmb13);
        if (!name)
            name = ::GetDlgItem(dialog, edt1);
        ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    });
    Command(ID_APPLY);
    helper.join();
    Pump();
    EXPECT_FALSE(FrameAlive());
    EXPECT_EQ(TestSupport::ReadWholeFile(chosen), std::string(kHeader) + "\r\nRewriteEngine On");
}

}
