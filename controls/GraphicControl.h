// A windowless control: it owns a rectangle of its parent window and is drawn
// by the parent after the parent's own painting, in stacking order.
#pragma once

#include <windows.h>

class TGraphicControl {
public:
    TGraphicControl(HWND parent, const RECT& bounds, bool visible);
    TGraphicControl(const TGraphicControl&) = delete;
    TGraphicControl& operator=(const TGraphicControl&) = delete;
    virtual ~TGraphicControl() = default;

    virtual void Paint(HDC dc) const = 0;

    const RECT& Bounds() const { return bounds_; }
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);

protected:
    // Asks the parent to repaint the control's rectangle.
    void Invalidate() const;
    HWND Parent() const { return parent_; }

private:
    HWND parent_;
    RECT bounds_;
    bool visible_;
};
