#include "SpeedButton.h"

#include "Exception.h"

namespace {

constexpr BYTE kOpaque = 255;
constexpr BYTE kDimmed = 96;

}  // namespace

TSpeedButton::TSpeedButton(HWND parent, const RECT& bounds, bool visible, TBitmap glyph, int keysId)
    : TGraphicControl(parent, bounds, visible), glyph_(std::move(glyph)) {
    // BS_NOTIFY: the parent hears of the focus coming and going.
    keys_ = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY |
                                                     (visible ? WS_VISIBLE : 0),
                              bounds.left, bounds.top, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(keysId)), ::GetModuleHandleW(nullptr),
                              nullptr);
    if (!keys_) throw Exception(L"Não foi possível criar os controles da janela principal");
    ::SetWindowPos(keys_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TSpeedButton::Paint(HDC dc) const {
    if (!Visible()) return;
    RECT edge = Bounds();
    if (enabled_ && down_) {
        ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    } else if (enabled_ && (hot_ || Focused())) {
        ::DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    if (enabled_ && Focused()) {
        RECT focus = edge;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
    const int shift = enabled_ && down_ && hot_ ? 1 : 0;
    const int left = Left() + (Width() - glyph_.Width()) / 2 + shift;
    const int top = Top() + (Height() - glyph_.Height()) / 2 + shift;
    glyph_.AlphaDraw(dc, left, top, enabled_ ? kOpaque : kDimmed);
}

void TSpeedButton::SetVisible(bool visible) {
    TGraphicControl::SetVisible(visible);
    ::ShowWindow(keys_, visible ? SW_SHOWNA : SW_HIDE);
}

void TSpeedButton::KeysCommand(int notification) {
    switch (notification) {
    case BN_CLICKED:
        if (enabled_ && Visible() && OnClick) OnClick();
        break;
    case BN_SETFOCUS:
    case BN_KILLFOCUS: Invalidate(); break;
    default: break;
    }
}

void TSpeedButton::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    ::EnableWindow(keys_, enabled);
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
