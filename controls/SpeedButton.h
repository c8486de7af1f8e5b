// A flat, windowless picture button: the glyph is centred in its rectangle, an
// edge shows under the mouse, and a click is a press and a release inside it.
// Disabled, it draws dimmed and ignores the mouse. Its place in the parent's
// tab order is a push button window without area, first in that order: it
// takes the focus, which the picture shows, and Space or Enter on it click.
#pragma once

#include "GraphicControl.h"
#include "Pictures.h"

#include <functional>

class TSpeedButton : public TGraphicControl {
public:
    // keysId: the command identifier of the button window that takes the keys.
    TSpeedButton(HWND parent, const RECT& bounds, bool visible, TBitmap glyph, int keysId);

    void Paint(HDC dc) const override;

    void SetVisible(bool visible) override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The window that takes the focus and the keys for the button.
    HWND KeysWindow() const { return keys_; }
    bool Focused() const { return ::GetFocus() == keys_; }
    // A notification of the keys' window (WM_COMMAND to the parent).
    void KeysCommand(int notification);

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
    // A child of the parent, destroyed with it.
    HWND keys_ = nullptr;
    bool enabled_ = true;
    bool hot_ = false;
    bool down_ = false;
};
