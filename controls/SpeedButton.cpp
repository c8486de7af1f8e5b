#include "SpeedButton.h"

namespace {

constexpr BYTE kOpaque = 255;
constexpr BYTE kDimmed = 96;

}  // namespace

TSpeedButton::TSpeedButton(HWND parent, const RECT& bounds, bool visible, TBitmap glyph)
    : TGraphicControl(parent, bounds, visible), glyph_(std::move(glyph)) {}

void TSpeedButton::Paint(HDC dc) const {
    if (!Visible()) return;
    RECT edge = Bounds();
    if (enabled_ && down_) {
        ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    } else if (enabled_ && hot_) {
        ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    const int shift = enabled_ && down_ && hot_ ? 1 : 0;
    const int left = Left() + (Width() - glyph_.Width()) / 2 + shift;
    const int top = Top() + (Height() - glyph_.Height()) / 2 + shift;
    glyph_.AlphaDraw(dc, left, top, enabled_ ? kOpaque : kDimmed);
}

void TSpeedButton::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (!enabled_ && down_) {
        down_ = false;
        ::ReleaseCapture();
    }
    Invalidate();
}

bool TSpeedButton::Accepts(POINT at) const {
    return Visible() && enabled_ && ::PtInRect(&Bounds(), at);
}

bool TSpeedButton::MouseDown(POINT at) {
    if (!Accepts(at)) return false;
    down_ = true;
    ::SetCapture(Parent());
    Invalidate();
    return true;
}

bool TSpeedButton::MouseUp(POINT at) {
    if (!down_) return false;
    down_ = false;
    ::ReleaseCapture();
    Invalidate();
    if (Accepts(at) && OnClick) OnClick();
    return true;
}

void TSpeedButton::MouseMove(POINT at) { SetHot(Accepts(at)); }

void TSpeedButton::MouseLeave() { SetHot(false); }

void TSpeedButton::SetHot(bool hot) {
    if (hot == hot_) return;
    hot_ = hot;
    Invalidate();
}
