// The option box's drawing: background, box, check mark and caption, straight
// into the window's device context, each step with its own drawing objects.
#include "clVornTCheckBox.h"

void TVornTCheckBox::WMPaint() {
    const win::ScopedPaint paint(window_.get());
    PaintControl(paint.dc());
}

void TVornTCheckBox::PaintControl(HDC dc) {
    PaintBackground(dc);
    PaintBox(dc);
    if (Checked()) PaintCheck(dc);
    PaintCaption(dc);
}

void TVornTCheckBox::PaintBackground(HDC dc) {
    const win::UniqueBrush brush(::CreateSolidBrush(CorFundoAtual()));
    const RECT whole{0, 0, Width(), Height()};
    ::FillRect(dc, &whole, brush.get());
}

void TVornTCheckBox::PaintBox(HDC dc) {
    const win::UniquePen pen(::CreatePen(PS_SOLID, 1, CorBoxAtual()));
    const win::UniqueBrush brush(::CreateSolidBrush(CorSquareAtual()));
    const win::ScopedSelect selectPen(dc, pen.get());
    const win::ScopedSelect selectBrush(dc, brush.get());
    const int inset = BoxFrameWidthAtual();
    ::Rectangle(dc, BoxLeft() + inset - 1, BoxTop() + inset - 1, BoxRight() - inset + 2, BoxBottom() - inset + 2);
}

void TVornTCheckBox::PaintCheck(HDC dc) {
    const win::UniquePen pen(::CreatePen(PS_SOLID, 1, CorCheckAtual()));
    const win::ScopedSelect selectPen(dc, pen.get());
    const int x0 = BoxLeft() + ScaleX(3);
    const int y0 = BoxTop() + ScaleY(5);
    const int strokes = ScaleY(2);
    for (int i = 0; i <= strokes; ++i) {
        ::MoveToEx(dc, x0, y0 + i, nullptr);
        ::LineTo(dc, x0 + ScaleX(2), y0 + ScaleY(2) + i);
        ::LineTo(dc, x0 + ScaleX(7), y0 - ScaleY(3) + i);
    }
}

void TVornTCheckBox::PaintCaption(HDC dc) {
    ::SetTextColor(dc, CorTextoAtual());
    ::SetBkMode(dc, TRANSPARENT);
    const win::UniqueFont font(::CreateFontW(-FontSize(), 0, 0, 0, FontWeight(), FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                             0, 0, 0, 0, FontName().c_str()));
    const win::ScopedSelect selectFont(dc, font.get());
    const int length = static_cast<int>(Caption().size());
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, Caption().c_str(), length, &extent);
    RECT r{0, 0, ClientWidth(), ClientHeight()};
    if (Alignment() == taLeftJustify) {
        r.left = r.left + BoxSizeWidthAtual() + GapBeforeTexto();
        r.right = r.left + extent.cx;
    } else {
        r.right = r.right - BoxSizeWidthAtual() - GapBeforeTexto();
        r.left = r.right - extent.cx;
    }
    UINT flags = DT_SINGLELINE;
    if (VerticalAlignment() == taAlignBottom) flags |= DT_BOTTOM;
    if (VerticalAlignment() == taVerticalCenter) flags |= DT_VCENTER;
    ::DrawTextW(dc, Caption().c_str(), length, &r, flags);
}
