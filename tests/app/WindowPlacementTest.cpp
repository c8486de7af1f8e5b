#include "WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

struct PlacementCase {
    const char* name;
    WorkArea area;
    int left;
    int top;
};

class CentredOriginTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(CentredOriginTest, CentresTheWindowInTheWorkArea) {
    const WindowOrigin origin = CentredOrigin(GetParam().area, 800, 450);
    EXPECT_EQ(origin.left, GetParam().left);
    EXPECT_EQ(origin.top, GetParam().top);
}

INSTANTIATE_TEST_SUITE_P(Cases, CentredOriginTest,
                         testing::Values(PlacementCase{"WholeScreen", {0, 0, 1280, 800}, 240, 175},
                                         PlacementCase{"TaskBarAtTheBottom", {0, 0, 1280, 760}, 240, 155},
                                         PlacementCase{"TaskBarAtTheTop", {0, 40, 1280, 800}, 240, 195},
                                         PlacementCase{"TaskBarAtTheLeft", {60, 0, 1280, 800}, 270, 175},
                                         PlacementCase{"OddRemainderTruncates", {0, 0, 1281, 801}, 240, 175},
                                         PlacementCase{"SmallerThanTheWindow", {10, 20, 610, 420}, 10, 20}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
