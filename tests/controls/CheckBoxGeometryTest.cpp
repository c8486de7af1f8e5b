#include "clCheckBoxGeometry.h"

#include "FakeCheckBox.h"

#include <gtest/gtest.h>

namespace {

TEST(BoxTopFor, CentresWithBankersRounding) {
    struct Case {
        int clientHeight, boxHeight, top;
    } const cases[] = {
        {17, 12, 2},   // 2.5 goes to 2
        {19, 12, 4},   // 3.5 goes to 4
        {10, 13, -2},  // -1.5 goes to -2
        {18, 18, 0},  {18, 12, 3}, {21, 12, 4},  // 4.5 goes to 4
        {23, 12, 6},                              // 5.5 goes to 6
        {0, 0, 0},    {12, -5, 8},                // 8.5 goes to 8
        {11, 12, 0},                              // -0.5 goes to 0
        {13, 12, 0},                              // 0.5 goes to 0
        {15, 12, 2},                              // 1.5 goes to 2
    };
    for (const auto& c : cases)
        EXPECT_EQ(BoxTopFor(taVerticalCenter, c.clientHeight, c.boxHeight), c.top)
            << c.clientHeight << "/" << c.boxHeight;
}

TEST(BoxTopFor, TopAndBottom) {
    EXPECT_EQ(BoxTopFor(taAlignTop, 17, 12), 0);
    EXPECT_EQ(BoxTopFor(taAlignBottom, 17, 12), 5);
    EXPECT_EQ(BoxTopFor(taAlignBottom, 10, 13), -3);
}

TEST(BoxLeftFor, LeftEdgeOrTwoPixelsShortOfTheRight) {
    EXPECT_EQ(BoxLeftFor(taLeftJustify, 97, 12), 0);
    EXPECT_EQ(BoxLeftFor(taRightJustify, 97, 12), 83);
    EXPECT_EQ(BoxLeftFor(taRightJustify, 10, 18), -10);
}

TEST(EffectiveFrameWidth, OnePixelPerTwelveOfWidth) {
    struct Case {
        int boxWidth, frame;
    } const cases[] = {{0, 0}, {11, 0}, {12, 1}, {18, 1}, {23, 1}, {24, 2}, {35, 2}, {36, 3}, {-11, 0}, {-12, -1}};
    for (const auto& c : cases) EXPECT_EQ(EffectiveFrameWidth(true, 7, c.boxWidth), c.frame) << c.boxWidth;
    EXPECT_EQ(EffectiveFrameWidth(false, 7, 24), 7);
    EXPECT_EQ(EffectiveFrameWidth(false, -2, 24), -2);
}

TEST(ScaleBy, TruncatesTowardZero) {
    struct Case {
        int n, size, result;
    } const cases[] = {
        {2, 18, 3}, {3, 18, 4}, {7, 18, 10}, {5, 18, 7}, {2, 12, 2}, {3, 12, 3}, {7, 12, 7}, {5, 12, 5},
        {2, 0, 0},  {2, -5, 0},  // -10 / 12 is -0.8: toward zero
        {2, -7, -1},             // -14 / 12
        {5, -18, -7},            // -7.5 toward zero, not -8
        {2, 0x40000000, -0x0AAAAAAA},  // the product wraps as a 32-bit value
    };
    for (const auto& c : cases) EXPECT_EQ(ScaleBy(c.n, c.size), c.result) << c.n << " x " << c.size;
}

// The model's geometry with the host's stand-in for the visual style, which has none.
TEST(ModelGeometry, WithoutAVisualStyleTheBoxIs12) {
    FakeCheckBox box;
    EXPECT_EQ(box.ThemeBoxWidth(), 12);
    EXPECT_EQ(box.ThemeBoxHeight(), 12);
    EXPECT_EQ(box.BoxSizeWidthAtual(), 12);
    EXPECT_EQ(box.BoxSizeHeightAtual(), 12);
    EXPECT_EQ(box.BoxFrameWidthAtual(), 1);
    EXPECT_EQ(box.BoxLeft(), 0);
    EXPECT_EQ(box.BoxRight(), 12);
    EXPECT_EQ(box.BoxTop(), 2);
    EXPECT_EQ(box.BoxBottom(), 14);
    box.alignment = taRightJustify;
    EXPECT_EQ(box.BoxLeft(), 83);
    EXPECT_EQ(box.BoxRight(), 95);
}

TEST(ModelGeometry, TheInstallersOptionBox) {
    FakeCheckBox box;
    box.clientWidth = 360;
    box.clientHeight = 18;
    box.SetBoxSizeWidth(18);
    box.SetBoxSizeWidthDefault(false);
    box.SetBoxSizeHeight(18);
    box.SetBoxSizeHeightDefault(false);
    EXPECT_EQ(box.BoxSizeWidthAtual(), 18);
    EXPECT_EQ(box.BoxFrameWidthAtual(), 1);
    EXPECT_EQ(box.BoxLeft(), 0);
    EXPECT_EQ(box.BoxTop(), 0);
    EXPECT_EQ(box.BoxRight(), 18);
    EXPECT_EQ(box.BoxBottom(), 18);
    EXPECT_EQ(box.ScaleX(2), 3);
    EXPECT_EQ(box.ScaleX(3), 4);
    EXPECT_EQ(box.ScaleX(7), 10);
    EXPECT_EQ(box.ScaleY(2), 3);
    EXPECT_EQ(box.ScaleY(3), 4);
    EXPECT_EQ(box.ScaleY(5), 7);
}

TEST(ModelGeometry, FollowsTheFieldsAndTheClientAtEveryCall) {
    FakeCheckBox box;
    box.SetBoxSizeWidthDefault(false);
    box.SetBoxSizeWidth(24);
    EXPECT_EQ(box.BoxFrameWidthAtual(), 2);
    box.SetBoxSizeWidth(11);
    EXPECT_EQ(box.BoxFrameWidthAtual(), 0);
    box.SetBoxFrameWidthAuto(false);
    box.SetBoxFrameWidth(5);
    EXPECT_EQ(box.BoxFrameWidthAtual(), 5);
    box.SetBoxSizeHeightDefault(false);
    box.SetBoxSizeHeight(-4);
    EXPECT_EQ(box.BoxTop(), 10);  // 8.5 + 2 = 10.5 goes to 10
    box.clientHeight = 19;
    EXPECT_EQ(box.BoxTop(), 12);  // 9.5 + 2 = 11.5 goes to 12
}

}  // namespace
