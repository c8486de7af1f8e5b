#include "clCheckBoxState.h"

#include "ColourProperties.h"
#include "FakeCheckBox.h"

#include <gtest/gtest.h>

namespace {

constexpr TElementColours kDistinct{1, 2, 3, 4, 5};

struct ColourCase {
    bool enabled;
    bool focused;
    bool mouseInClient;
    TColor expected;
};

TEST(CurrentColour, FollowsTheStateTable) {
    const ColourCase cases[] = {
        {false, false, false, kDistinct.Inativo}, {false, true, false, kDistinct.Inativo},
        {false, false, true, kDistinct.Inativo},  {false, true, true, kDistinct.Inativo},
        {true, false, false, kDistinct.Ativo},    {true, true, false, kDistinct.Focused},
        {true, false, true, kDistinct.Iluminado}, {true, true, true, kDistinct.IluminadoFocused},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CurrentColour(kDistinct, c.enabled, c.focused, c.mouseInClient), c.expected)
            << "enabled " << c.enabled << " focused " << c.focused << " mouse " << c.mouseInClient;
}

// Each element's Atual property reads that element's colour by the same rule,
// through the pointer-enters / focus / leaves / disable sequence.
TEST(CurrentColour, FollowsThePointerAndTheFocusOnEveryElement) {
    FakeCheckBox box;
    // Element e in state s gets the colour 10 * (e + 1) + s.
    for (int e = 0; e < 5; ++e)
        for (int s = 0; s < 5; ++s) (box.*kColourSetters[e][s])(TColor(10 * (e + 1) + s));
    auto expectState = [&box](int state, const char* step) {
        for (int e = 0; e < 5; ++e)
            EXPECT_EQ((box.*kCurrentColourGetters[e])(), TColor(10 * (e + 1) + state)) << kElementNames[e] << ", " << step;
    };

    expectState(0, "at rest");
    box.mouseInClient = true;
    expectState(3, "pointer enters");
    box.focused = true;
    expectState(4, "focus with the pointer inside");
    box.mouseInClient = false;
    expectState(2, "pointer leaves");
    for (const bool focused : {false, true})
        for (const bool mouse : {false, true}) {
            box.enabled = false;
            box.focused = focused;
            box.mouseInClient = mouse;
            expectState(1, "disabled");
        }
}

TEST(ToggledState, MovesThroughTheThreeStates) {
    using S = TCheckBoxState;
    EXPECT_EQ(ToggledState(S::cbUnchecked, false), S::cbChecked);
    EXPECT_EQ(ToggledState(S::cbUnchecked, true), S::cbGrayed);
    EXPECT_EQ(ToggledState(S::cbChecked, false), S::cbUnchecked);
    EXPECT_EQ(ToggledState(S::cbChecked, true), S::cbUnchecked);
    EXPECT_EQ(ToggledState(S::cbGrayed, false), S::cbChecked);
    EXPECT_EQ(ToggledState(S::cbGrayed, true), S::cbChecked);
}

TEST(Accelerator, IsTheLetterAfterASingleAmpersand) {
    EXPECT_EQ(AcceleratorOf(L"&Criar atalho"), L'C');
    EXPECT_EQ(AcceleratorOf(L"Criar &atalho"), L'A');
    EXPECT_EQ(AcceleratorOf(L"A && B"), std::nullopt);
    EXPECT_EQ(AcceleratorOf(L"A &&&B"), L'B');
    EXPECT_EQ(AcceleratorOf(L"fim&"), std::nullopt);
    EXPECT_EQ(AcceleratorOf(L""), std::nullopt);
    EXPECT_TRUE(IsAccelerator(L"&Executar", L'e'));
    EXPECT_TRUE(IsAccelerator(L"&Executar", L'E'));
    EXPECT_FALSE(IsAccelerator(L"&Executar", L'x'));
    EXPECT_FALSE(IsAccelerator(L"Executar", L'E'));
}

}  // namespace
