// The frame's splitter rule and title.
#include "FrameRules.h"

#include <gtest/gtest.h>

using namespace Orvane::Orvanedock;

namespace {

TEST(FrameRules, TreePaneTakesEveryChangeOfWidthButShrinksOnlyAboveItsStartWidth)
{
    struct Case {
        const char* what;
        SplitterState before;
        int width;
        SplitterState after;
    } cases[] = {
        {"first size only measures", {230, -1}, 684, {230, 684}},
        {"wider by 100 moves the bar 100", {230, 684}, 784, {330, 784}},
        {"narrower above 230 follows", {330, 784}, 734, {280, 734}},
        {"at 230 narrowing changes nothing", {230, 784}, 684, {230, 784}},
        {"one large shrink may go below 230", {240, 984}, 684, {0, 684}},
        {"never below 0", {300, 2000}, 684, {0, 684}},
        {"same width", {300, 684}, 684, {300, 684}},
    };
    for (const Case& c : cases) {
        SplitterState after = ResizeSplitter(c.before, c.width);
        EXPECT_EQ(c.after.position, after.position) << c.what;
        EXPECT_EQ(c.after.lastWidth, after.lastWidth) << c.what;
    }
}

TEST(FrameRules, TitleWithNodeNameOfAnyLength)
{
    const std::wstring site = L"IIS Web Sites";
    const std::wstring longName(600, L'n');
    EXPECT_EQ(L"Orvanedock", FrameTitle(L"Orvanedock", nullptr));
    EXPECT_EQ(L"Orvanedock - IIS Web Sites", FrameTitle(L"Orvanedock", &site));
    EXPECT_EQ(L"Orvanedock - " + longName, FrameTitle(L"Orvanedock", &longName));
}

}
