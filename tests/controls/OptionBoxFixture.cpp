#include "OptionBoxFixture.h"

#include <uxtheme.h>
#include <vsstyle.h>

#include <memory>
#include <stdexcept>

Picture InstallerPicture(const Look& look, bool checked, const std::wstring& caption) {
    Picture picture(360, 18, look.fundo);
    // The outline is one pixel larger than the box; its bottom row falls outside.
    picture.Rectangle(0, 0, 19, 19, look.box, look.square);
    if (checked)
        for (int i = 0; i <= 3; ++i) {
            picture.Diagonal(4, 7 + i, 7, 10 + i, look.check);
            picture.Diagonal(7, 10 + i, 14, 3 + i, look.check);
        }
    const int cx = CaptionWidth(caption, L"Verdana", 11, 0);
    picture.Caption(caption, L"Verdana", 11, 0, RECT{28, 0, 28 + cx, 18}, 0x24, look.texto);
    return picture;
}

int VisualStyleBoxSize() {
    const std::unique_ptr<void, decltype(&::CloseThemeData)> theme(::OpenThemeData(nullptr, L"BUTTON"),
                                                                    &::CloseThemeData);
    if (!theme) return 12;
    SIZE size{12, 12};
    if (FAILED(::GetThemePartSize(theme.get(), nullptr, BP_CHECKBOX, CBS_UNCHECKEDNORMAL, nullptr, TS_DRAW, &size)))
        size = {12, 12};
    if (size.cx != size.cy) throw std::logic_error("a check box glyph that is not square");
    return size.cx;
}

Picture DefaultPicture(const Look& look, bool checked, const std::wstring& caption, TLeftRight alignment,
                       TVerticalAlignment vertical) {
    // Boxes of 12 and 13 pixels scale the mark alike; the pictures here know no other size.
    const int size = VisualStyleBoxSize();
    if (size != 12 && size != 13) throw std::logic_error("a visual style with an unexpected check box size");
    Picture picture(97, 17, look.fundo);
    const int left = alignment == taLeftJustify ? 0 : 97 - size - 2;
    const int top = vertical == taAlignTop ? 0 : vertical == taAlignBottom ? 17 - size : (17 - size) / 2;
    picture.Rectangle(left, top, left + size + 1, top + size + 1, look.box, look.square);
    if (checked)
        for (int i = 0; i <= 2; ++i) {
            picture.Diagonal(left + 3, top + 5 + i, left + 5, top + 7 + i, look.check);
            picture.Diagonal(left + 5, top + 7 + i, left + 10, top + 2 + i, look.check);
        }
    const int cx = CaptionWidth(caption, L"Verdana", 12, 0);
    const int gapEnd = size + 10;
    const RECT rect = alignment == taLeftJustify ? RECT{gapEnd, 0, gapEnd + cx, 17} : RECT{97 - gapEnd - cx, 0, 97 - gapEnd, 17};
    const UINT flags = vertical == taAlignTop ? 0x20 : vertical == taAlignBottom ? 0x28 : 0x24;
    picture.Caption(caption, L"Verdana", 12, 0, rect, flags, look.texto);
    return picture;
}

void OptionBoxTest::Show(TVornTCheckBox& target) {
    if (!target.Handle()) target.SetParent(host);
    target.SetLeft(20);
    target.SetTop(20);
    target.SetVisible(true);
    PumpUntilIdle();
}
