// The choice of a folder's per-directory configuration file.
#include <core/AccessFileChoice.h>

#include <gtest/gtest.h>

#include <set>

using namespace Orvane::Quillon;

TEST(AccessFileChoice, FirstExistingFileInListOrderElseTheFirstName)
{
    const struct {
        const char* what;
        std::vector<std::wstring> names;
        std::set<std::wstring> files;
        std::vector<std::wstring> asked;
        std::wstring chosen;
    } cases[] = {
        {"only the second exists", {L".htaccess", L"httpd.ini"}, {L"C:\\w\\httpd.ini"},
         {L"C:\\w\\.htaccess", L"C:\\w\\httpd.ini"}, L"C:\\w\\httpd.ini"},
        {"both exist: list order, no further question", {L"b.ini", L"a.ini"}, {L"C:\\w\\a.ini", L"C:\\w\\b.ini"},
         {L"C:\\w\\b.ini"}, L"C:\\w\\b.ini"},
        {"none exists: the first name", {L"x.ini", L"y.ini"}, {}, {L"C:\\w\\x.ini", L"C:\\w\\y.ini"},
         L"C:\\w\\x.ini"},
        {"empty list: the default name", {}, {L"C:\\w\\.htaccess"}, {}, L"C:\\w\\.htaccess"},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> asked;
        const std::wstring chosen = ChooseAccessFile(L"C:\\w\\", c.names, [&](const std::wstring& candidate) {
            asked.push_back(candidate);
            return c.files.count(candidate) > 0;
        });
        EXPECT_EQ(chosen, c.chosen) << c.what;
        EXPECT_EQ(asked, c.asked) << c.what;
    }
}
