// The store declarations: the published GUIDs and the slot of every method.
#include "Common/AppHostAdmin.h"
#include "Framework/GuidText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

// The vtable slot of a virtual member function, from GCC's pointer-to-member layout (the address
// field holds 1 + the slot's byte offset).
template <typename F>
size_t SlotOf(F member)
{
    struct {
        std::uintptr_t address;
        std::ptrdiff_t adjustment;
    } raw;
    static_assert(sizeof(raw) == sizeof(member), "unexpected pointer-to-member layout");
    std::memcpy(&raw, &member, sizeof(raw));
    EXPECT_EQ(raw.address % sizeof(void*), 1u) << "not a virtual function";
    return (raw.address - 1) / sizeof(void*);
}

TEST(AppHostAdmin, GuidsAreThePublishedOnes)
{
    struct Case {
        const GUID* guid;
        const wchar_t* text;
    };
    const Case cases[] = {
        {&CLSID_MSAdminBase_W, L"{A9E69610-B80D-11D0-B9B9-00A0C922E750}"},
        {&IID_IMSAdminBaseW, L"{70B51430-B6CA-11D0-B9B9-00A0C922E750}"},
        {&IID_IMSAdminBase_W, L"{70B51430-B6CA-11D0-B9B9-00A0C922E750}"},
        {&CLSID_AppHostAdminManager, L"{228FB8F7-FB53-4FD5-8C7B-FF59DE606C5B}"},
        {&IID_IAppHostAdminManager, L"{9BE77978-73ED-4A9A-87FD-13F09FEC1B13}"},
        {&IID_IAppHostElement, L"{64FF8CCC-B287-4DAE-B08A-A72CBF45F453}"},
        {&IID_IAppHostElementCollection, L"{C8550BFF-5281-4B1E-AC34-99B6FA38464D}"},
        {&IID_IAppHostProperty, L"{ED35F7A1-5024-4E7B-A44D-07DDAF4B524D}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Framework::GuidText(*c.guid), c.text);
}

TEST(AppHostAdmin, MethodsSitInTheirPublishedSlots)
{
    // Slots 0 to 2 are IUnknown's.
    struct Case {
        size_t slot;
        size_t expected;
        const char* name;
    };
    const Case cases[] = {
        {SlotOf(&IAppHostAdminManager::GetAdminSection), 3, "AdminManager::GetAdminSection"},
        {SlotOf(&IAppHostAdminManager::GetMetadata), 4, "AdminManager::GetMetadata"},
        {SlotOf(&IAppHostAdminManager::SetMetadata), 5, "AdminManager::SetMetadata"},
        {SlotOf(&IAppHostAdminManager::get_ConfigManager), 6, "AdminManager::get_ConfigManager"},
        {SlotOf(&IAppHostElement::get_Name), 3, "Element::get_Name"},
        {SlotOf(&IAppHostElement::get_Collection), 4, "Element::get_Collection"},
        {SlotOf(&IAppHostElement::get_Properties), 5, "Element::get_Properties"},
        {SlotOf(&IAppHostElement::get_ChildElements), 6, "Element::get_ChildElements"},
        {SlotOf(&IAppHostElement::GetMetadata), 7, "Element::GetMetadata"},
        {SlotOf(&IAppHostElement::SetMetadata), 8, "Element::SetMetadata"},
        {SlotOf(&IAppHostElement::get_Schema), 9, "Element::get_Schema"},
        {SlotOf(&IAppHostElement::GetElementByName), 10, "Element::GetElementByName"},
        {SlotOf(&IAppHostElement::GetPropertyByName), 11, "Element::GetPropertyByName"},
        {SlotOf(&IAppHostElement::Clear), 12, "Element::Clear"},
        {SlotOf(&IAppHostElement::get_Methods), 13, "Element::get_Methods"},
        {SlotOf(&IAppHostElementCollection::get_Count), 3, "Collection::get_Count"},
        {SlotOf(&IAppHostElementCollection::get_Item), 4, "Collection::get_Item"},
        {SlotOf(&IAppHostElementCollection::AddElement), 5, "Collection::AddElement"},
        {SlotOf(&IAppHostElementCollection::DeleteElement), 6, "Collection::DeleteElement"},
        {SlotOf(&IAppHostElementCollection::Clear), 7, "Collection::Clear"},
        {SlotOf(&IAppHostElementCollection::CreateNewElement), 8, "Collection::CreateNewElement"},
        {SlotOf(&IAppHostElementCollection::get_Schema), 9, "Collection::get_Schema"},
        {SlotOf(&IAppHostProperty::get_Name), 3, "Property::get_Name"},
        {SlotOf(&IAppHostProperty::get_Value), 4, "Property::get_Value"},
        {SlotOf(&IAppHostProperty::put_Value), 5, "Property::put_Value"},
        {SlotOf(&IAppHostProperty::Clear), 6, "Property::Clear"},
        {SlotOf(&IAppHostProperty::get_StringValue), 7, "Property::get_StringValue"},
        {SlotOf(&IAppHostProperty::get_Exception), 8, "Property::get_Exception"},
        {SlotOf(&IAppHostProperty::GetMetadata), 9, "Property::GetMetadata"},
        {SlotOf(&IAppHostProperty::SetMetadata), 10, "Property::SetMetadata"},
        {SlotOf(&IAppHostProperty::get_Schema), 11, "Property::get_Schema"},
        // The metabase calls the stores' callers make, from the toolchain's declaration.
        {SlotOf(&IMSAdminBaseW::EnumKeys), 6, "IMSAdminBaseW::EnumKeys"},
        {SlotOf(&IMSAdminBaseW::GetData), 10, "IMSAdminBaseW::GetData"},
        {SlotOf(&IMSAdminBaseW::OpenKey), 17, "IMSAdminBaseW::OpenKey"},
        {SlotOf(&IMSAdminBaseW::CloseKey), 18, "IMSAdminBaseW::CloseKey"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.slot, c.expected) << c.name;
}

}
