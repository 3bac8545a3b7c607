// Module paths and full-path resolution, beyond MAX_PATH.
#include "Framework/Paths.h"

#include <gtest/gtest.h>

using namespace Framework;

namespace {

std::wstring CurrentFolder()
{
    DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(needed, L'\0');
    DWORD length = ::GetCurrentDirectoryW(needed, &folder[0]);
    folder.resize(length);
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

TEST(Paths, ModuleFolderHoldsTheModule)
{
    std::wstring file = ModuleFileName();
    std::wstring folder = ModuleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_EQ(file.compare(0, folder.size(), folder), 0);
    EXPECT_EQ(file.find(L'\\', folder.size()), std::wstring::npos);
    EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    // A module handle that names no module has no folder.
    EXPECT_EQ(ModuleFolder(reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x10))), L"");
}

TEST(Paths, ResolveFullPathOfAnyLength)
{
    const std::wstring here = CurrentFolder();
    const std::wstring deep = std::wstring(L"C:\\") + std::wstring(300, L'd') + L"\\" + std::wstring(200, L'e') +
                              L"\\site.conf";
    struct Case {
        std::wstring path;
        std::wstring expected;
        size_t nameStart;
    };
    const Case cases[] = {
        {L"a.conf", here + L"a.conf", here.size()},
        {L"C:\\x\\..\\y\\b.conf", L"C:\\y\\b.conf", 5},
        {L"C:\\folder\\", L"C:\\folder\\", 10},
        {deep, deep, deep.size() - 9},
    };
    for (const Case& c : cases) {
        std::wstring full;
        size_t nameStart = 0;
        ASSERT_TRUE(ResolveFullPath(c.path, full, &nameStart)) << c.path.size();
        EXPECT_EQ(full, c.expected);
        EXPECT_EQ(nameStart, c.nameStart);
    }
    std::wstring untouched = L"kept";
    EXPECT_FALSE(ResolveFullPath(L"", untouched));
    EXPECT_EQ(untouched, L"kept");
}

}

TEST(Paths, ExpandEnvironmentTextExpandsKnownReferences)
{
    const std::wstring longValue(300, L'x');
    ASSERT_TRUE(::SetEnvironmentVariableW(L"QUILLON_EXPAND_TEST", longValue.c_str()));
    const struct {
        const wchar_t* in;
        std::wstring out;
    } cases[] = {
        {L"C:\\plain", L"C:\\plain"},
        {L"%QUILLON_EXPAND_TEST%\\www", longValue + L"\\www"},
        {L"%QUILLON_NO_SUCH_VARIABLE%\\www", L"%QUILLON_NO_SUCH_VARIABLE%\\www"},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Framework::ExpandEnvironmentText(c.in), c.out);
    ::SetEnvironmentVariableW(L"QUILLON_EXPAND_TEST", nullptr);
}
