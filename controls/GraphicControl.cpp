#include "GraphicControl.h"

TGraphicControl::TGraphicControl(HWND parent, const RECT& bounds, bool visible)
    : parent_(parent), bounds_(bounds), visible_(visible) {}

void TGraphicControl::SetBounds(int left, int top, int width, int height) {
    const RECT bounds{left, top, left + width, top + height};
    if (EqualRect(&bounds, &bounds_)) return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void TGraphicControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Invalidate();
}

void TGraphicControl::Invalidate() const { ::InvalidateRect(parent_, &bounds_, FALSE); }
