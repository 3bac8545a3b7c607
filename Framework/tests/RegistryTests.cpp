// The registry key owner and the removal of key trees, on keys below a private test key.
#include "Framework/Registry.h"

#include <TestSupport/RegistryLock.h>

#include <gtest/gtest.h>

#include <string>

using namespace Framework;

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = L"Software\\QuillonFrameworkTests\\" + std::to_wstring(::GetCurrentProcessId());
        ASSERT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, base_), ERROR_SUCCESS);
        ASSERT_EQ(root_.Create(HKEY_CURRENT_USER, base_), ERROR_SUCCESS);
    }
    void TearDown() override
    {
        TestSupport::LockRegistryKey(root_.Get(), L"Tree\\Locked", false);
        root_.Close();
        DeleteKeyTree(HKEY_CURRENT_USER, base_);
    }
    bool Exists(const std::wstring& path)
    {
        RegistryKey key;
        return key.Open(root_.Get(), path) == ERROR_SUCCESS;
    }
    void SetRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes)
    {
        ASSERT_EQ(::RegSetValueExW(root_.Get(), name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
    }

    std::wstring base_;
    RegistryKey root_;
};

TEST_F(RegistryTest, StringsAreWrittenWithTerminatorAndReadSafely)
{
    ASSERT_EQ(root_.SetString(L"Provider", L"Orvane"), ERROR_SUCCESS);
    ASSERT_EQ(root_.SetString(nullptr, L"default text"), ERROR_SUCCESS);
    DWORD type = 0;
    DWORD bytes = 0;
    ASSERT_EQ(::RegQueryValueExW(root_.Get(), L"Provider", nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, 7 * sizeof(wchar_t));

    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    SetRaw(L"NoTerminator", REG_SZ, unterminated, sizeof(unterminated));
    SetRaw(L"OddLength", REG_SZ, L"xy", 3);
    SetRaw(L"InnerNul", REG_SZ, L"one\0two", 8 * sizeof(wchar_t));
    SetRaw(L"Expand", REG_EXPAND_SZ, L"%SystemDrive%\\web", 18 * sizeof(wchar_t));
    SetRaw(L"Empty", REG_SZ, L"", 0);
    DWORD number = 5;
    SetRaw(L"Number", REG_DWORD, &number, sizeof(number));

    struct Case {
        const wchar_t* name;
        LONG result;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"Provider", ERROR_SUCCESS, L"Orvane"},
        {nullptr, ERROR_SUCCESS, L"default text"},
        {L"NoTerminator", ERROR_SUCCESS, L"abc"},
        {L"OddLength", ERROR_SUCCESS, L"x"},
        {L"InnerNul", ERROR_SUCCESS, L"one"},
        {L"Expand", ERROR_SUCCESS, L"%SystemDrive%\\web"},
        {L"Empty", ERROR_SUCCESS, L""},
        {L"Number", ERROR_UNSUPPORTED_TYPE, L"unchanged"},
        {L"Missing", ERROR_FILE_NOT_FOUND, L"unchanged"},
    };
    for (const Case& c : cases) {
        std::wstring value = L"unchanged";
        EXPECT_EQ(root_.QueryString(c.name, value), c.result) << (c.name ? c.name : L"(default)");
        EXPECT_EQ(value, c.text) << (c.name ? c.name : L"(default)");
    }

    EXPECT_EQ(root_.DeleteValue(L"Provider"), ERROR_SUCCESS);
    std::wstring gone;
    EXPECT_EQ(root_.QueryString(L"Provider", gone), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(root_.DeleteValue(L"Provider"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, SubKeysAreEnumeratedAndCounted)
{
    for (const wchar_t* name : {L"Beta", L"Alpha"}) {
        RegistryKey child;
        ASSERT_EQ(child.Create(root_.Get(), name), ERROR_SUCCESS);
    }
    std::wstring names;
    std::wstring name;
    DWORD index = 0;
    while (root_.EnumSubKey(index, name) == ERROR_SUCCESS) {
        names += name + L";";
        ++index;
    }
    EXPECT_EQ(index, 2u);
    EXPECT_NE(names.find(L"Alpha;"), std::wstring::npos);
    EXPECT_NE(names.find(L"Beta;"), std::wstring::npos);
    EXPECT_EQ(root_.EnumSubKey(2, name), ERROR_NO_MORE_ITEMS);

    DWORD values = 9;
    ASSERT_EQ(root_.CountValues(values), ERROR_SUCCESS);
    EXPECT_EQ(values, 0u);
    ASSERT_EQ(root_.SetString(L"One", L"1"), ERROR_SUCCESS);
    ASSERT_EQ(root_.CountValues(values), ERROR_SUCCESS);
    EXPECT_EQ(values, 1u);

    RegistryKey missing;
    EXPECT_EQ(missing.Open(root_.Get(), L"No\\Such\\Key"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(missing);
}

TEST_F(RegistryTest, KeyTreesAreDeletedWhole)
{
    for (const wchar_t* path : {L"Tree\\A\\A1\\A11", L"Tree\\A\\A2", L"Tree\\B", L"Tree\\C\\C1", L"Kept"}) {
        RegistryKey key;
        ASSERT_EQ(key.Create(root_.Get(), path), ERROR_SUCCESS);
        ASSERT_EQ(key.SetString(L"v", path), ERROR_SUCCESS);
    }
    EXPECT_EQ(DeleteKeyTree(root_.Get(), L"Tree"), ERROR_SUCCESS);
    EXPECT_FALSE(Exists(L"Tree"));
    EXPECT_TRUE(Exists(L"Kept"));
    // Nothing left to delete is no failure, so unregistering twice is fine.
    EXPECT_EQ(DeleteKeyTree(root_.Get(), L"Tree"), ERROR_SUCCESS);
    EXPECT_EQ(DeleteKeyTree(root_.Get(), L"Never\\There"), ERROR_SUCCESS);
}

TEST_F(RegistryTest, AKeyThatCannotBeDeletedEndsTheWalkWithFailure)
{
    for (const wchar_t* path : {L"Tree\\A", L"Tree\\Locked\\Inner", L"Tree\\Z"}) {
        RegistryKey key;
        ASSERT_EQ(key.Create(root_.Get(), path), ERROR_SUCCESS);
    }
    ASSERT_EQ(TestSupport::LockRegistryKey(root_.Get(), L"Tree\\Locked", true), ERROR_SUCCESS);
    RegistryKey probe;
    ASSERT_EQ(probe.Open(root_.Get(), L"Tree\\Locked", KEY_READ | DELETE), ERROR_ACCESS_DENIED);

    LONG result = DeleteKeyTree(root_.Get(), L"Tree");
    EXPECT_NE(result, ERROR_SUCCESS);
    // The others went; the locked key and the tree above it stay.
    EXPECT_FALSE(Exists(L"Tree\\A"));
    EXPECT_FALSE(Exists(L"Tree\\Z"));
    EXPECT_TRUE(Exists(L"Tree"));
    ASSERT_EQ(TestSupport::LockRegistryKey(root_.Get(), L"Tree\\Locked", false), ERROR_SUCCESS);
    EXPECT_EQ(DeleteKeyTree(root_.Get(), L"Tree"), ERROR_SUCCESS);
    EXPECT_FALSE(Exists(L"Tree"));
}

TEST_F(RegistryTest, ConditionalDeleteKeepsAKeyWithValues)
{
    struct Case {
        const wchar_t* path;
        bool withValue;
        bool kept;
    };
    const Case cases[] = {
        {L"PropertySheet1", true, true},
        {L"PropertySheet2", false, false},
    };
    for (const Case& c : cases) {
        RegistryKey key;
        ASSERT_EQ(key.Create(root_.Get(), std::wstring(c.path) + L"\\Child"), ERROR_SUCCESS);
        RegistryKey parent;
        ASSERT_EQ(parent.Open(root_.Get(), c.path, KEY_ALL_ACCESS), ERROR_SUCCESS);
        if (c.withValue) {
            ASSERT_EQ(parent.SetString(L"{other extension}", L"Other"), ERROR_SUCCESS);
        }
        parent.Close();
        key.Close();
        EXPECT_EQ(DeleteKeyTreeIfNoValues(root_.Get(), c.path), ERROR_SUCCESS);
        EXPECT_EQ(Exists(c.path), c.kept) << c.path;
        EXPECT_EQ(Exists(std::wstring(c.path) + L"\\Child"), c.kept) << c.path;
    }
    EXPECT_EQ(DeleteKeyTreeIfNoValues(root_.Get(), L"Missing"), ERROR_SUCCESS);
}


TEST_F(RegistryTest, ValuesAreWrittenAndRemovedByPath)
{
    // Missing parents are created; a second write replaces the value.
    ASSERT_EQ(WriteStringValue(root_.Get(), L"New\\Deep\\Key", L"Provider", L"First"), ERROR_SUCCESS);
    ASSERT_EQ(WriteStringValue(root_.Get(), L"New\\Deep\\Key", L"Provider", L"Orvane"), ERROR_SUCCESS);
    ASSERT_EQ(WriteStringValue(root_.Get(), L"New\\Deep\\Key", nullptr, L"default"), ERROR_SUCCESS);
    RegistryKey key;
    ASSERT_EQ(key.Open(root_.Get(), L"New\\Deep\\Key"), ERROR_SUCCESS);
    std::wstring value;
    ASSERT_EQ(key.QueryString(L"Provider", value), ERROR_SUCCESS);
    EXPECT_EQ(value, L"Orvane");
    ASSERT_EQ(key.QueryString(nullptr, value), ERROR_SUCCESS);
    EXPECT_EQ(value, L"default");

    EXPECT_EQ(DeleteValueIfPresent(root_.Get(), L"New\\Deep\\Key", L"Provider"), ERROR_SUCCESS);
    EXPECT_EQ(key.QueryString(L"Provider", value), ERROR_FILE_NOT_FOUND);
    // Nothing to remove is no failure.
    EXPECT_EQ(DeleteValueIfPresent(root_.Get(), L"New\\Deep\\Key", L"Provider"), ERROR_SUCCESS);
    EXPECT_EQ(DeleteValueIfPresent(root_.Get(), L"No\\Such\\Key", L"Provider"), ERROR_SUCCESS);
    key.Close();

    // A key that cannot be written reports it, for writes and removals alike.
    ASSERT_EQ(WriteStringValue(root_.Get(), L"Tree\\Locked", L"Kept", L"x"), ERROR_SUCCESS);
    ASSERT_EQ(TestSupport::LockRegistryKey(root_.Get(), L"Tree\\Locked", true), ERROR_SUCCESS);
    EXPECT_EQ(WriteStringValue(root_.Get(), L"Tree\\Locked", L"Provider", L"Orvane"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(DeleteValueIfPresent(root_.Get(), L"Tree\\Locked", L"Kept"), ERROR_ACCESS_DENIED);
}

}
