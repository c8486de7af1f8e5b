// TVornTCheckBox: a check box window of the platform's "BUTTON" class whose whole
// drawing is the installer's own. The window keeps the behaviour of a check box
// (state, click, space, accelerator, focus, tab stop); everything the platform
// would draw for it is kept off the screen and replaced by PaintControl.
#pragma once

#include "Handles.h"
#include "clVornTCheckBoxModel.h"

#include <windows.h>

#include <functional>
#include <string>

class TVornTCheckBox : public TVornTCheckBoxModel {
public:
    // Defaults only; the window is created when a parent is first set.
    TVornTCheckBox();
    ~TVornTCheckBox() override;

    // Creates the window under the first parent; later calls move it. Either way
    // it goes to the end of the parent's tab order.
    void SetParent(HWND parent);
    HWND Parent() const { return parent_; }
    HWND Handle() const { return window_.get(); }

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    void SetBounds(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool enabled);

    bool Checked() const { return state_ == TCheckBoxState::cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState state);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool allowGrayed) { allowGrayed_ = allowGrayed; }

    TLeftRight Alignment() const override { return alignment_; }
    void SetAlignment(TLeftRight alignment);

    bool Focused() const override;
    bool MouseInClient() const override { return mouseInClient_; }
    int ClientWidth() const override;
    int ClientHeight() const override;

    // The framework's accelerator hook: when ch is the caption's accelerator and
    // the control can take the focus, it takes it and toggles. True when handled.
    bool DialogChar(wchar_t ch);

    // Raised on every change of State, by the user or by code.
    std::function<void()> OnClick;

protected:
    void* NativeWindow() const override { return window_.get(); }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallBase(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT CallBaseUnseen(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateHandle();
    void Invalidate();
    bool CanFocus() const;
    void RemoveFocus();
    void FocusAndToggle();
    void Toggle();
    void MouseMove(LPARAM position);
    void MousePress();
    void MouseRelease(LPARAM position);
    void ReleaseInput();
    void Moved(const WINDOWPOS& position);

    // Painting, one element per step (clVornTCheckBoxPaint.cpp).
    void WMPaint();
    void PaintControl(HDC dc);
    void PaintBackground(HDC dc);
    void PaintBox(HDC dc);
    void PaintCheck(HDC dc);
    void PaintCaption(HDC dc);

    win::UniqueWindow window_;
    HWND parent_ = nullptr;
    std::wstring caption_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 97;
    int height_ = 17;
    bool visible_ = true;
    bool enabled_ = true;
    bool allowGrayed_ = false;
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    TLeftRight alignment_ = taLeftJustify;
    bool mouseInClient_ = false;
    bool pressedByMouse_ = false;
    bool pressedBySpace_ = false;
    int unseenDepth_ = 0;
};
