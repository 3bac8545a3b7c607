// The BSTR and VARIANT owners, and GUID text.
#include "Framework/ComValues.h"
#include "Framework/GuidText.h"

#include <gtest/gtest.h>

using namespace Framework;

namespace {

TEST(ComValues, BstrKeepsEveryCharacterAndHandsOver)
{
    const std::wstring texts[] = {L"", L"sites", std::wstring(L"a\0b", 3), std::wstring(5000, L'x')};
    for (const std::wstring& text : texts) {
        Bstr value(text);
        ASSERT_NE(value.Get(), nullptr);
        EXPECT_EQ(value.Length(), text.size());
        EXPECT_EQ(::SysStringLen(value.Get()), text.size());
        EXPECT_EQ(value.Text(), text);
    }

    Bstr empty;
    EXPECT_EQ(empty.Get(), nullptr);
    EXPECT_EQ(empty.Text(), L"");

    Bstr first(L"moved");
    Bstr second(std::move(first));
    EXPECT_EQ(first.Get(), nullptr);
    EXPECT_EQ(second.Text(), L"moved");
    BSTR raw = second.Detach();
    EXPECT_EQ(second.Get(), nullptr);
    EXPECT_EQ(std::wstring(raw), L"moved");
    Bstr adopted;
    *adopted.Receive() = raw;
    EXPECT_EQ(adopted.Text(), L"moved");
    // Receive frees what it held before handing out the slot.
    EXPECT_EQ(*adopted.Receive(), nullptr);
}

TEST(ComValues, VariantHoldsTypedValues)
{
    Variant i4 = Variant::Int32(-7);
    EXPECT_EQ(i4.Type(), VT_I4);
    EXPECT_EQ(i4.Get().lVal, -7);
    Variant i2 = Variant::Int16(12);
    EXPECT_EQ(i2.Type(), VT_I2);
    EXPECT_EQ(i2.Get().iVal, 12);
    Variant text = Variant::Text(L"Default Web Site");
    ASSERT_EQ(text.Type(), VT_BSTR);
    EXPECT_EQ(std::wstring(text.Get().bstrVal, ::SysStringLen(text.Get().bstrVal)), L"Default Web Site");

    Variant moved(std::move(text));
    EXPECT_EQ(text.Type(), VT_EMPTY);
    EXPECT_EQ(moved.Type(), VT_BSTR);

    VARIANT out;
    ::VariantInit(&out);
    moved.Detach(&out);
    EXPECT_EQ(moved.Type(), VT_EMPTY);
    EXPECT_EQ(out.vt, VT_BSTR);
    EXPECT_EQ(::VariantClear(&out), S_OK);

    // Receive clears the old value, so a filled VARIANT can be filled again without a leak.
    Variant reused = Variant::Text(L"old");
    VARIANT* slot = reused.Receive();
    EXPECT_EQ(slot->vt, VT_EMPTY);
    slot->vt = VT_I4;
    slot->lVal = 3;
    EXPECT_EQ(reused.Get().lVal, 3);
}

TEST(GuidText, UpperCaseHexInBraces)
{
    struct Case {
        GUID guid;
        const wchar_t* text;
    };
    const Case cases[] = {
        {GUID_NULL, L"{00000000-0000-0000-0000-000000000000}"},
        {{0x8bc324a4, 0x8a49, 0x4e7a, {0xb2, 0xbf, 0x6e, 0xd3, 0xe5, 0x63, 0x0c, 0x2f}},
         L"{8BC324A4-8A49-4E7A-B2BF-6ED3E5630C2F}"},
        {{0x0000000a, 0x00b0, 0x0c00, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0xff}},
         L"{0000000A-00B0-0C00-0102-0304050607FF}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GuidText(c.guid), c.text);
}

}
