// Resource strings and icons of the running module, and system error texts.
#include "Framework/Handles.h"
#include "Framework/Resources.h"
#include "Framework/SystemError.h"

#include <gtest/gtest.h>

using namespace Framework;

namespace {

constexpr UINT kTestIcon = 300;

TEST(Resources, StringsAndErrorTexts)
{
    EXPECT_EQ(LoadResourceString(200), L"Row: 99999");
    EXPECT_EQ(LoadResourceString(201), L"first part\nsecond part");
    EXPECT_EQ(LoadResourceString(9999), L"");
    std::wstring text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), L'\n');
    EXPECT_NE(text.back(), L'\r');
}

TEST(Resources, IconsComeInTheAskedSystemSize)
{
    struct Case {
        int widthMetric;
        int heightMetric;
    };
    for (const Case& c : {Case{SM_CXICON, SM_CYICON}, Case{SM_CXSMICON, SM_CYSMICON}}) {
        ScopedIcon icon(LoadIconOfSize(kTestIcon, c.widthMetric, c.heightMetric));
        ASSERT_TRUE(icon) << c.widthMetric;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon.Get(), &info));
        ScopedBitmap color(info.hbmColor);
        ScopedBitmap mask(info.hbmMask);
        BITMAP bitmap{};
        ASSERT_TRUE(::GetObjectW(mask.Get(), sizeof(bitmap), &bitmap));
        EXPECT_EQ(bitmap.bmWidth, ::GetSystemMetrics(c.widthMetric));
    }
    EXPECT_EQ(LoadIconOfSize(9999, SM_CXICON, SM_CYICON), nullptr);
}

}
