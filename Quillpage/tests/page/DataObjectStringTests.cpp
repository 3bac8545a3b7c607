// Reading the node's metabase path from a host's data object: what the extension asks for, how much
// of the answer it takes, and what a failing data object gives.
#include "PageTestSupport.h"

#include "ModuleState.h"
#include "PropSheetExtension.h"

#include <Framework/Handles.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using Orvane::Quillon::GetDataObjectString;
using PageTest::TestDataObject;

UINT MetaPathFormat()
{
    return Orvane::Quillon::RegisteredClipboardFormats().metaPath;
}

struct LengthCase {
    size_t sent;
    size_t received;
};

class DataObjectStringLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(DataObjectStringLengthTest, TakesAtMost255CharactersAndTerminates)
{
    std::wstring path = L"/LM/W3SVC/1/ROOT/";
    path.resize(GetParam().sent, L'x');
    Framework::ComPtr<TestDataObject> data(new TestDataObject(path));
    std::wstring buffer(Orvane::Quillon::DataObjectStringBufferSize + 8, L'#');
    ASSERT_EQ(GetDataObjectString(MetaPathFormat(), data.Get(), &buffer[0]), S_OK);
    EXPECT_EQ(std::wstring(buffer.c_str()), path.substr(0, GetParam().received));
    // Nothing is written past the buffer's 256 characters.
    EXPECT_EQ(buffer.substr(Orvane::Quillon::DataObjectStringBufferSize), std::wstring(8, L'#'));
}

INSTANTIATE_TEST_SUITE_P(Lengths, DataObjectStringLengthTest,
                         ::testing::Values(LengthCase{17, 17}, LengthCase{254, 254}, LengthCase{255, 255},
                                           LengthCase{256, 255}, LengthCase{300, 255}));

TEST(DataObjectStringTest, AsksForTheFormatInA512ByteGlobalBlock)
{
    Framework::ComPtr<TestDataObject> data(new TestDataObject(L"/LM/W3SVC/2/ROOT/"));
    wchar_t buffer[Orvane::Quillon::DataObjectStringBufferSize];
    ASSERT_EQ(GetDataObjectString(MetaPathFormat(), data.Get(), buffer), S_OK);
    EXPECT_EQ(data->calls, 1);
    EXPECT_EQ(data->askedFormat.cfFormat, static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"ISM_SNAPIN_META_PATH")));
    EXPECT_EQ(data->askedFormat.ptd, nullptr);
    EXPECT_EQ(data->askedFormat.dwAspect, static_cast<DWORD>(DVASPECT_CONTENT));
    EXPECT_EQ(data->askedFormat.lindex, -1);
    EXPECT_EQ(data->askedFormat.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(data->askedTymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(data->askedBlockSize, 512u);
    EXPECT_FALSE(data->askedWithReleaseObject);
}

TEST(DataObjectStringTest, FailuresPassThroughWithAnEmptyText)
{
    for (HRESULT failure : {DV_E_FORMATETC, E_FAIL, E_OUTOFMEMORY}) {
        Framework::ComPtr<TestDataObject> data(new TestDataObject(L"/LM/W3SVC/2/ROOT/", failure));
        wchar_t buffer[Orvane::Quillon::DataObjectStringBufferSize] = L"old";
        EXPECT_EQ(GetDataObjectString(MetaPathFormat(), data.Get(), buffer), failure);
        EXPECT_EQ(buffer[0], L'\0');
    }
    wchar_t buffer[Orvane::Quillon::DataObjectStringBufferSize] = L"old";
    EXPECT_EQ(GetDataObjectString(MetaPathFormat(), nullptr, buffer), E_POINTER);
    EXPECT_EQ(buffer[0], L'\0');
}

}
