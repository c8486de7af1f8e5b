// A real option box in a real window on the display, and pictures of how it
// must look, built from the drawing rules pixel by pixel.
#pragma once

#include "CheckBoxScreen.h"
#include "InstallerOptionBox.h"
#include "clVornTCheckBox.h"

#include <gtest/gtest.h>

#include <string>

// The colours of the five elements in one visual state.
struct Look {
    TColor texto, fundo, square, check, box;
};

// The installer's option boxes.
inline constexpr Look kInstallerAtivo{0xC0C0C0, 0x21130D, 0xFFFFFF, 0x808080, 0x808080};
inline constexpr Look kInstallerInativo{0x808080, 0x21130D, 0xABABAB, 0x7F7F7F, 0x7F7F7F};
inline constexpr Look kInstallerIluminado{0xFFFFFF, 0x21130D, 0xFFFFFF, 0x9E4E20, 0x9E4E20};
// Focused, the box and the mark in the highlight: visible without a focus rectangle.
inline constexpr Look kInstallerFocused{0xC0C0C0, 0x21130D, 0xFFFFFF, 0x9E4E20, 0x9E4E20};
// A new control's own colours.
inline constexpr Look kDefaultAtivo{0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000};
inline constexpr Look kDefaultInativo{0x7F7F7F, 0xFFFFFF, 0xFFFFFF, 0x7F7F7F, 0x7F7F7F};
inline constexpr Look kDefaultFocused{0x000000, 0xCDBA96, 0xCDBA96, 0x000000, 0x000000};
inline constexpr Look kDefaultIluminado{0x000000, 0xFFFFFF, 0xFFFFFF, 0xCDCDC2, 0xCDCDC2};
inline constexpr Look kDefaultIluminadoFocused{0x000000, 0xCDBA96, 0xCDBA96, 0xCDCDC2, 0xCDCDC2};

inline const std::wstring kDesktopCaption = L"Criar atalho na área de trabalho";

// 360 x 18, an 18 x 18 box at the left, centred, caption at x = 28 in 11-pixel Verdana.
Picture InstallerPicture(const Look& look, bool checked, const std::wstring& caption);

// The visual style's check-box size, asked here without the control's help; 12 without a style.
int VisualStyleBoxSize();

// A new control, 97 x 17, whose box has the visual style's size, 12-pixel Verdana, gap 10.
Picture DefaultPicture(const Look& look, bool checked, const std::wstring& caption,
                       TLeftRight alignment = taLeftJustify, TVerticalAlignment vertical = taVerticalCenter);

class OptionBoxTest : public ::testing::Test {
protected:
    void SetUp() override { MovePointerAway(); }

    // Shows the box at (20, 20) of the host and lets it paint.
    void Show(TVornTCheckBox& target);
    void Show() { Show(box); }
    Picture Screen() { return CaptureScreen(box.Handle()); }

    HWND host = HostWindow::Shared();
    TVornTCheckBox box;
};
