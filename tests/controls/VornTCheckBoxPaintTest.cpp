// The option box's own drawing, read back from the screen under Wine.
#include "OptionBoxFixture.h"

namespace {

TEST_F(OptionBoxTest, InstallersBoxIsDrawnPixelForPixel) {
    ConfigureOptionBox(box, host, kDesktopCaption);
    Show();
    const Picture screen = Screen();
    EXPECT_EQ(Differences(screen, InstallerPicture(kInstallerAtivo, true, kDesktopCaption)), "");

    // The worked example, point by point.
    EXPECT_EQ(screen.At(0, 0), kInstallerAtivo.box);
    EXPECT_EQ(screen.At(18, 0), kInstallerAtivo.box) << "the outline's right column is x = 18";
    EXPECT_EQ(screen.At(18, 17), kInstallerAtivo.box);
    EXPECT_EQ(screen.At(9, 17), kInstallerAtivo.square) << "the outline's bottom row falls below the client";
    EXPECT_EQ(screen.At(19, 9), kInstallerAtivo.fundo);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_EQ(screen.At(4, 7 + i), kInstallerAtivo.check) << i;
        EXPECT_EQ(screen.At(7, 10 + i), kInstallerAtivo.check) << i;
        EXPECT_EQ(screen.At(13, 4 + i), kInstallerAtivo.check) << i;
        EXPECT_EQ(screen.At(14, 3 + i), kInstallerAtivo.square) << "end point " << i << " is not drawn";
    }
    EXPECT_EQ(screen.CountOtherThan(kInstallerAtivo.fundo, 19, 0, 28, 18), 0) << "nothing between box and caption";
    EXPECT_GT(screen.CountOtherThan(kInstallerAtivo.fundo, 28, 0, 360, 18), 20) << "the caption from x = 28";
}

TEST_F(OptionBoxTest, InstallersBoxUncheckedHasNoMark) {
    ConfigureOptionBox(box, host, kDesktopCaption);
    box.SetChecked(false);
    Show();
    const Picture screen = Screen();
    EXPECT_EQ(Differences(screen, InstallerPicture(kInstallerAtivo, false, kDesktopCaption)), "");
    EXPECT_EQ(screen.CountOf(kInstallerAtivo.check, 1, 1, 18, 18), 0);
}

// Wine's own visual style has a 13-pixel glyph; without a style it would be 12.
TEST_F(OptionBoxTest, NewControlTakesItsBoxSizeFromTheVisualStyle) {
    box.SetCaption(L"Opção");
    box.SetChecked(true);
    Show();
    EXPECT_EQ(box.ThemeBoxWidth(), VisualStyleBoxSize());
    EXPECT_EQ(box.ThemeBoxHeight(), VisualStyleBoxSize());
    EXPECT_EQ(box.BoxSizeWidthAtual(), VisualStyleBoxSize());
    EXPECT_EQ(box.BoxFrameWidthAtual(), 1);
    EXPECT_EQ(box.Width(), 97);
    EXPECT_EQ(box.Height(), 17);
    EXPECT_EQ(Differences(Screen(), DefaultPicture(kDefaultAtivo, true, L"Opção")), "");
}

TEST_F(OptionBoxTest, VerticalAlignmentPlacesBoxAndCaption) {
    box.SetCaption(L"Opção");
    box.SetChecked(true);
    Show();
    for (const auto vertical : {taAlignTop, taAlignBottom, taVerticalCenter}) {
        box.SetVerticalAlignment(vertical);
        EXPECT_EQ(Differences(Screen(), DefaultPicture(kDefaultAtivo, true, L"Opção", taLeftJustify, vertical)), "")
            << "alignment " << vertical;
    }
}

TEST_F(OptionBoxTest, RightAlignmentPutsTheBoxAtTheRight) {
    box.SetCaption(L"Opção");
    box.SetChecked(true);
    box.SetAlignment(taRightJustify);
    Show();
    const Picture screen = Screen();
    EXPECT_EQ(Differences(screen, DefaultPicture(kDefaultAtivo, true, L"Opção", taRightJustify)), "");
    // With the 12-pixel box: outline from 83 to 95, caption ending at 75.
    const int size = VisualStyleBoxSize();
    EXPECT_EQ(box.BoxLeft(), 95 - size);
    EXPECT_EQ(box.BoxRight(), 95);
    EXPECT_EQ(screen.At(95 - size, 2), kDefaultAtivo.box);
    EXPECT_EQ(screen.At(95, 2 + size), kDefaultAtivo.box);
    EXPECT_EQ(screen.CountOtherThan(kDefaultAtivo.fundo, 87 - size, 0, 95 - size, 17), 0) << "the caption's end";
    EXPECT_GT(screen.CountOtherThan(kDefaultAtivo.fundo, 0, 0, 87 - size, 17), 20) << "the caption";
    EXPECT_EQ(screen.CountOtherThan(kDefaultAtivo.fundo, 96, 0, 97, 17), 0) << "one free column at the right";
}

TEST_F(OptionBoxTest, DisabledUsesInativoWhateverFocusAndPointer) {
    ConfigureOptionBox(box, host, kDesktopCaption);
    Show();
    ::SetFocus(box.Handle());
    MovePointerTo(box.Handle(), 100, 9);
    ASSERT_TRUE(box.Focused());
    ASSERT_TRUE(box.MouseInClient());
    box.SetEnabled(false);
    PumpUntilIdle();
    EXPECT_FALSE(box.Focused()) << "disabling takes the focus away";
    EXPECT_EQ(Differences(Screen(), InstallerPicture(kInstallerInativo, true, kDesktopCaption)), "");
}

TEST_F(OptionBoxTest, FocusAndPointerPickTheirColours) {
    box.SetCaption(L"Opção");
    box.SetChecked(true);
    Show();
    EXPECT_EQ(Differences(Screen(), DefaultPicture(kDefaultAtivo, true, L"Opção")), "") << "at rest";
    MovePointerTo(box.Handle(), 50, 8);
    EXPECT_TRUE(box.MouseInClient());
    EXPECT_EQ(Differences(Screen(), DefaultPicture(kDefaultIluminado, true, L"Opção")), "") << "pointer inside";
    ::SetFocus(box.Handle());
    PumpUntilIdle();
    EXPECT_EQ(Differences(Screen(), DefaultPicture(kDefaultIluminadoFocused, true, L"Opção")), "") << "and focus";
    MovePointerAway();
    EXPECT_FALSE(box.MouseInClient());
    EXPECT_EQ(Differences(Screen(), DefaultPicture(kDefaultFocused, true, L"Opção")), "") << "pointer left";
    box.SetEnabled(false);
    PumpUntilIdle();
    EXPECT_EQ(Differences(Screen(), DefaultPicture(kDefaultInativo, true, L"Opção")), "") << "disabled";
}

TEST_F(OptionBoxTest, InstallersHoverColours) {
    ConfigureOptionBox(box, host, kDesktopCaption);
    Show();
    MovePointerTo(box.Handle(), 200, 9);
    EXPECT_EQ(Differences(Screen(), InstallerPicture(kInstallerIluminado, true, kDesktopCaption)), "");
}

TEST_F(OptionBoxTest, GrayedIsDrawnAsUnchecked) {
    box.SetCaption(L"Opção");
    box.SetAllowGrayed(true);
    box.SetState(TCheckBoxState::cbGrayed);
    Show();
    EXPECT_EQ(::SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(Differences(Screen(), DefaultPicture(kDefaultAtivo, false, L"Opção")), "");
}

// Sizes for which no stroke of the mark can show: checked looks like unchecked.
TEST_F(OptionBoxTest, DegenerateBoxesShowNoMark) {
    box.SetCaption(L"Opção");
    box.SetCorCheckAtivo(0x000000FF);
    box.SetCorSquareAtivo(0x0000FF00);
    box.SetCorBoxAtivo(0x00FF0000);
    Show();
    struct Case {
        const char* name;
        int width, height;
        bool outlineShows;
    } const cases[] = {{"box size 0", 0, 0, true}, {"negative height", 18, -6, true}, {"negative width", -4, 12, false}};
    for (const auto& c : cases) {
        box.SetBoxSizeWidthDefault(false);
        box.SetBoxSizeHeightDefault(false);
        box.SetBoxSizeWidth(c.width);
        box.SetBoxSizeHeight(c.height);
        box.SetChecked(false);
        const Picture unchecked = Screen();
        box.SetChecked(true);
        const Picture checked = Screen();
        EXPECT_EQ(Differences(checked, unchecked), "") << c.name;
        EXPECT_EQ(checked.CountOf(0x000000FF, 0, 0, 97, 17), 0) << c.name;
        EXPECT_EQ(checked.CountOf(0x00FF0000, 0, 0, 97, 17) > 0, c.outlineShows) << c.name << ": the outline";
    }
}

TEST_F(OptionBoxTest, BoxSizeZeroIsAThreePixelOutline) {
    box.SetCaption(L"");
    box.SetCorSquareAtivo(0x0000FF00);
    box.SetBoxSizeWidthDefault(false);
    box.SetBoxSizeHeightDefault(false);
    box.SetChecked(true);
    Show();
    Picture expected(97, 17, kDefaultAtivo.fundo);
    // Top 8 (8.5 rounds to even), frame 0: the outline runs from -1 to 1 around (0, 8).
    expected.Rectangle(-1, 7, 2, 10, kDefaultAtivo.box, 0x0000FF00);
    EXPECT_EQ(Differences(Screen(), expected), "");
}

TEST_F(OptionBoxTest, AmpersandUnderlinesTheNextLetter) {
    const std::wstring caption = L"&Criar atalho";
    box.SetCaption(caption);
    Show();
    const Picture screen = Screen();
    EXPECT_EQ(Differences(screen, DefaultPicture(kDefaultAtivo, false, caption)), "");
    // Measured with the ampersand, drawn without it and with the C underlined.
    Picture plain = DefaultPicture(kDefaultAtivo, false, L"Criar atalho");
    EXPECT_NE(Differences(screen, plain), "");
    const int x = VisualStyleBoxSize() + 10;
    const int plainWidth = CaptionWidth(L"Criar atalho", L"Verdana", 12, 0);
    plain.Fill(0, 0, 97, 17, kDefaultAtivo.fundo);
    plain.Caption(L"Criar atalho", L"Verdana", 12, 0, RECT{x, 0, x + plainWidth, 17}, 0x24, 0);
    int underline = 0;
    for (int y = 0; y < 17; ++y)
        underline += screen.CountOf(0, x, y, x + 8, y + 1) > plain.CountOf(0, x, y, x + 8, y + 1) + 3;
    EXPECT_EQ(underline, 1) << "one row more under the first letter";
}

TEST_F(OptionBoxTest, EmptyCaptionDrawsNoText) {
    box.SetCaption(L"");
    Show();
    EXPECT_EQ(Screen().CountOtherThan(kDefaultAtivo.fundo, VisualStyleBoxSize() + 1, 0, 97, 17), 0);
}

TEST_F(OptionBoxTest, BoldAndSizeReachTheCaption) {
    box.SetCaption(L"Opção");
    box.SetFontBold(true);
    box.SetFontSize(14);
    Show();
    Picture expected = DefaultPicture(kDefaultAtivo, false, L"");
    const int cx = CaptionWidth(L"Opção", L"Verdana", 14, 700);
    const int x = VisualStyleBoxSize() + 10;
    expected.Caption(L"Opção", L"Verdana", 14, 700, RECT{x, 0, x + cx, 17}, 0x24, 0);
    EXPECT_EQ(Differences(Screen(), expected), "");
}

}  // namespace
