// A flat, windowless picture button that never takes the focus: the glyph is
// centred in its rectangle, an edge shows under the mouse, and a click is a
// press and a release inside it. Disabled, it draws dimmed and ignores the mouse.
#pragma once

#include "GraphicControl.h"
#include "Pictures.h"

#include <functional>

class TSpeedButton : public TGraphicControl {
public:
    TSpeedButton(HWND parent, const RECT& bounds, bool visible, TBitmap glyph);

    void Paint(HDC dc) const override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // Mouse messages of the parent, in client coordinates; true when the
    // button took the message.
    bool MouseDown(POINT at);
    bool MouseUp(POINT at);
    void MouseMove(POINT at);
    void MouseLeave();

    std::function<void()> OnClick;

private:
    bool Accepts(POINT at) const;
    void SetHot(bool hot);

    TBitmap glyph_;
    bool enabled_ = true;
    bool hot_ = false;
    bool down_ = false;
};
