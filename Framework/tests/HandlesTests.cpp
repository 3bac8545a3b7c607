// The scoped resource types close exactly once and move ownership.
#include "Framework/Handles.h"

#include <gtest/gtest.h>

using namespace Framework;

namespace {

bool HandleIsOpen(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(Handles, ScopedHandleClosesOnceAndMoves)
{
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(raw);
    {
        ScopedHandle first(raw);
        ScopedHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        EXPECT_TRUE(HandleIsOpen(raw));
        ScopedHandle third;
        third = std::move(second);
        EXPECT_TRUE(HandleIsOpen(raw));
    }
    EXPECT_FALSE(HandleIsOpen(raw));

    HANDLE kept = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        ScopedHandle owner(kept);
        EXPECT_EQ(owner.Release(), kept);
    }
    EXPECT_TRUE(HandleIsOpen(kept));
    ::CloseHandle(kept);
}

TEST(Handles, ScopedFileTreatsInvalidHandleAsEmpty)
{
    ScopedFile missing(::CreateFileW(L"Z:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.Get(), INVALID_HANDLE_VALUE);
}

TEST(Handles, RegistryKeyAndGdiObjects)
{
    ScopedRegKey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Receive()), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    HBITMAP bitmap = ::CreateBitmap(4, 4, 1, 1, nullptr);
    {
        ScopedBitmap owner(bitmap);
        EXPECT_NE(::GetObjectType(bitmap), 0u);
    }
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
}

class CountedObject : public IUnknown {
public:
    long references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
};

TEST(Handles, ComPtrCountsReferences)
{
    CountedObject object;
    {
        ComPtr<IUnknown> first(&object);
        EXPECT_EQ(object.references, 2);
        ComPtr<IUnknown> copy = first;
        EXPECT_EQ(object.references, 3);
        ComPtr<IUnknown> moved(std::move(copy));
        EXPECT_EQ(object.references, 3);
        ComPtr<IUnknown> queried;
        EXPECT_EQ(first.QueryInterface(IID_IUnknown, queried), S_OK);
        EXPECT_EQ(object.references, 4);
    }
    EXPECT_EQ(object.references, 1);
    ComPtr<IUnknown> adopted;
    object.AddRef();
    adopted.Attach(&object);
    adopted.Reset();
    EXPECT_EQ(object.references, 1);
}

TEST(Handles, ComInitializationBalances)
{
    {
        ComInitialization com;
        EXPECT_TRUE(com.Succeeded());
        ComInitialization nested;
        EXPECT_EQ(nested.Result(), S_FALSE);
    }
    // After both ended, a new start on this thread is a first start again.
    ComInitialization again;
    EXPECT_EQ(again.Result(), S_OK);
}

}
