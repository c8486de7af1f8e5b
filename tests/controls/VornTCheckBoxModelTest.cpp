#include "clVornTCheckBoxModel.h"

#include "ColourProperties.h"
#include "FakeCheckBox.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(VornTCheckBoxModel, NewControlHasItsDefaults) {
    const FakeCheckBox box;
    EXPECT_EQ(box.VerticalAlignment(), taVerticalCenter);
    EXPECT_EQ(box.GapBeforeTexto(), 10);
    EXPECT_EQ(box.FontName(), L"Verdana");
    EXPECT_EQ(box.FontSize(), 12);
    EXPECT_FALSE(box.FontBold());
    EXPECT_EQ(box.FontWeight(), 0);
    EXPECT_TRUE(box.BoxSizeWidthDefault());
    EXPECT_TRUE(box.BoxSizeHeightDefault());
    EXPECT_TRUE(box.BoxFrameWidthAuto());
    EXPECT_EQ(box.BoxSizeWidth(), 0);
    EXPECT_EQ(box.BoxSizeHeight(), 0);
    EXPECT_EQ(box.BoxFrameWidth(), 0);
    for (int e = 0; e < 5; ++e)
        for (int s = 0; s < 5; ++s)
            EXPECT_EQ((box.*kColourGetters[e][s])(), kDefaultColours[e][s]) << kElementNames[e] << " state " << s;
    EXPECT_EQ(box.repaints, 0) << "construction writes fields and asks for no repaint";
}

// A property with two values: 0, the value of a new control, and 1, another.
struct PropertyCase {
    const char* name;
    std::function<void(M&, int)> write;  // writes variant 0 (the present value) or 1 (another value)
    std::function<bool(const M&, int)> holds;
};

std::vector<PropertyCase> PlainProperties() {
    std::vector<PropertyCase> cases;
    auto add = [&cases](const char* name, auto setter, auto getter, auto value0, auto value1) {
        cases.push_back({name, [=](M& m, int v) { (m.*setter)(v ? value1 : value0); },
                         [=](const M& m, int v) { return (m.*getter)() == (v ? value1 : value0); }});
    };
    add("VerticalAlignment", &M::SetVerticalAlignment, &M::VerticalAlignment, taVerticalCenter, taAlignBottom);
    add("GapBeforeTexto", &M::SetGapBeforeTexto, &M::GapBeforeTexto, 10, -3);
    add("FontSize", &M::SetFontSize, &M::FontSize, 12, 0);
    add("BoxSizeWidth", &M::SetBoxSizeWidth, &M::BoxSizeWidth, 0, 18);
    add("BoxSizeWidthDefault", &M::SetBoxSizeWidthDefault, &M::BoxSizeWidthDefault, true, false);
    add("BoxSizeHeight", &M::SetBoxSizeHeight, &M::BoxSizeHeight, 0, -5);
    add("BoxSizeHeightDefault", &M::SetBoxSizeHeightDefault, &M::BoxSizeHeightDefault, true, false);
    add("BoxFrameWidth", &M::SetBoxFrameWidth, &M::BoxFrameWidth, 0, 4);
    add("BoxFrameWidthAuto", &M::SetBoxFrameWidthAuto, &M::BoxFrameWidthAuto, true, false);
    cases.push_back({"FontName", [](M& m, int v) { m.SetFontName(v ? L"Tahoma" : L"Verdana"); },
                     [](const M& m, int v) { return m.FontName() == (v ? L"Tahoma" : L"Verdana"); }});
    for (int e = 0; e < 5; ++e)
        for (int s = 0; s < 5; ++s) {
            const ColourSetter set = kColourSetters[e][s];
            const ColourGetter get = kColourGetters[e][s];
            const TColor present = kDefaultColours[e][s];
            const TColor other = present ^ 0x00123456;
            cases.push_back({kElementNames[e], [=](M& m, int v) { (m.*set)(v ? other : present); },
                             [=](const M& m, int v) { return (m.*get)() == (v ? other : present); }});
        }
    return cases;
}

TEST(VornTCheckBoxModel, SettersRepaintOnlyWhenTheValueChanges) {
    for (const auto& property : PlainProperties()) {
        FakeCheckBox box;
        property.write(box, 0);
        EXPECT_EQ(box.repaints, 0) << property.name << ": writing the present value";
        property.write(box, 1);
        EXPECT_TRUE(property.holds(box, 1)) << property.name << ": stored";
        EXPECT_EQ(box.repaints, 1) << property.name << ": a change repaints once";
        property.write(box, 1);
        EXPECT_EQ(box.repaints, 1) << property.name << ": writing it again";
        property.write(box, 0);
        EXPECT_TRUE(property.holds(box, 0)) << property.name << ": stored back";
        EXPECT_EQ(box.repaints, 2) << property.name;
    }
}

TEST(VornTCheckBoxModel, EachColourSetterWritesOnlyItsOwnField) {
    for (int e = 0; e < 5; ++e)
        for (int s = 0; s < 5; ++s) {
            FakeCheckBox box;
            (box.*kColourSetters[e][s])(0x00ABCDEF);
            for (int e2 = 0; e2 < 5; ++e2)
                for (int s2 = 0; s2 < 5; ++s2)
                    EXPECT_EQ((box.*kColourGetters[e2][s2])(),
                              e2 == e && s2 == s ? TColor(0x00ABCDEF) : kDefaultColours[e2][s2])
                        << "writing " << kElementNames[e] << " " << s << ", reading " << kElementNames[e2] << " " << s2;
        }
}

TEST(VornTCheckBoxModel, FontBoldRepaintsOnEveryWrite) {
    FakeCheckBox box;
    box.SetFontBold(false);
    EXPECT_EQ(box.repaints, 1);
    EXPECT_EQ(box.FontWeight(), 0);
    box.SetFontBold(true);
    EXPECT_EQ(box.repaints, 2);
    EXPECT_EQ(box.FontWeight(), 700);
    EXPECT_TRUE(box.FontBold());
    box.SetFontBold(true);
    EXPECT_EQ(box.repaints, 3);
    EXPECT_EQ(box.FontWeight(), 700);
    box.SetFontBold(false);
    EXPECT_EQ(box.FontWeight(), 0);
    EXPECT_FALSE(box.FontBold());
}

TEST(VornTCheckBoxModel, FontNameComparesWithLetterCase) {
    FakeCheckBox box;
    box.SetFontName(L"VERDANA");
    EXPECT_EQ(box.repaints, 1);
    EXPECT_EQ(box.FontName(), L"VERDANA");
    box.SetFontName(L"");
    EXPECT_EQ(box.repaints, 2);
    EXPECT_EQ(box.FontName(), L"");
}

TEST(VornTCheckBoxModel, ReadingStateOrGeometryRequestsNoRepaint) {
    FakeCheckBox box;
    (void)box.CorBoxAtual();
    (void)box.BoxTop();
    (void)box.BoxRight();
    (void)box.ScaleX(7);
    EXPECT_EQ(box.repaints, 0);
}

}  // namespace
