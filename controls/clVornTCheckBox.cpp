#include "clVornTCheckBox.h"

#include "CommonControls.h"
#include "ErrorReport.h"
#include "Exception.h"

#include <windowsx.h>

#include <utility>

namespace {

constexpr UINT_PTR kSubclassId = 1;

WPARAM CheckCode(TCheckBoxState state) {
    switch (state) {
    case TCheckBoxState::cbUnchecked:
        return BST_UNCHECKED;
    case TCheckBoxState::cbChecked:
        return BST_CHECKED;
    case TCheckBoxState::cbGrayed:
        break;
    }
    return BST_INDETERMINATE;
}

bool InClient(HWND window, LPARAM position) {
    RECT client{};
    ::GetClientRect(window, &client);
    return ::PtInRect(&client, POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)}) != FALSE;
}

}  // namespace

TVornTCheckBox::TVornTCheckBox() : TVornTCheckBoxModel([this] { Invalidate(); }) {}

TVornTCheckBox::~TVornTCheckBox() {
    // The messages of the window's destruction (focus loss among them) still come
    // through WndProc, which needs the handle; WM_NCDESTROY lets go of it.
    OnClick = nullptr;
    if (window_) ::DestroyWindow(window_.get());
}

void TVornTCheckBox::SetParent(HWND parent) {
    parent_ = parent;
    if (!window_) {
        CreateHandle();
        return;
    }
    ::SetParent(window_.get(), parent);
    ::SetWindowPos(window_.get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    mouseInClient_ = false;
    Invalidate();
}

void TVornTCheckBox::CreateHandle() {
    // Created hidden so that the platform never draws a first frame of its own.
    DWORD style = WS_CHILD | WS_TABSTOP | BS_3STATE;
    if (!enabled_) style |= WS_DISABLED;
    HWND window = ::CreateWindowExW(0, L"BUTTON", caption_.c_str(), style, left_, top_, width_, height_, parent_,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!window) throw Exception(L"The option box's window could not be created.");
    window_.reset(window);
    AttachSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ::SendMessageW(window, BM_SETCHECK, CheckCode(state_), 0);
    ::SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (visible_)
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void TVornTCheckBox::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    // The window keeps the text too: the dialog manager finds accelerators in it.
    if (window_) ::SetWindowTextW(window_.get(), caption_.c_str());
}

void TVornTCheckBox::SetBounds(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (window_) ::SetWindowPos(window_.get(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TVornTCheckBox::ClientWidth() const {
    if (!window_) return width_;
    RECT client{};
    ::GetClientRect(window_.get(), &client);
    return client.right;
}

int TVornTCheckBox::ClientHeight() const {
    if (!window_) return height_;
    RECT client{};
    ::GetClientRect(window_.get(), &client);
    return client.bottom;
}

void TVornTCheckBox::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (!window_) return;
    if (!visible) RemoveFocus();
    ::SetWindowPos(window_.get(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                       (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TVornTCheckBox::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    if (!window_) return;
    if (!enabled) RemoveFocus();
    ::EnableWindow(window_.get(), enabled);
}

void TVornTCheckBox::SetState(TCheckBoxState state) {
    if (state_ == state) return;
    state_ = state;
    if (window_) ::SendMessageW(window_.get(), BM_SETCHECK, CheckCode(state), 0);
    if (OnClick) OnClick();
}

void TVornTCheckBox::SetAlignment(TLeftRight alignment) {
    if (alignment_ == alignment) return;
    alignment_ = alignment;
    Invalidate();
}

bool TVornTCheckBox::Focused() const {
    return window_ && ::GetFocus() == window_.get();
}

bool TVornTCheckBox::DialogChar(wchar_t ch) {
    if (!IsAccelerator(caption_, ch) || !CanFocus()) return false;
    FocusAndToggle();
    return true;
}

void TVornTCheckBox::Invalidate() {
    if (window_) ::InvalidateRect(window_.get(), nullptr, FALSE);
}

bool TVornTCheckBox::CanFocus() const {
    return window_ && ::IsWindowVisible(window_.get()) && ::IsWindowEnabled(window_.get());
}

void TVornTCheckBox::RemoveFocus() {
    // The focus goes back to the window that holds the control, as when the
    // form itself becomes the active control.
    if (Focused()) ::SetFocus(::GetAncestor(window_.get(), GA_ROOT));
}

void TVornTCheckBox::FocusAndToggle() {
    if (!Focused() && CanFocus()) ::SetFocus(window_.get());
    if (Focused()) Toggle();
}

void TVornTCheckBox::Toggle() {
    SetState(ToggledState(state_, allowGrayed_));
}

void TVornTCheckBox::MouseMove(LPARAM position) {
    if (mouseInClient_ || !InClient(window_.get(), position)) return;
    mouseInClient_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_.get(), HOVER_DEFAULT};
    ::TrackMouseEvent(&track);
    Invalidate();
}

void TVornTCheckBox::MousePress() {
    if (!Focused()) {
        ::SetFocus(window_.get());
        if (!Focused()) return;
    }
    ::SetCapture(window_.get());
    pressedByMouse_ = true;
}

void TVornTCheckBox::MouseRelease(LPARAM position) {
    const bool pressed = std::exchange(pressedByMouse_, false);
    if (::GetCapture() == window_.get()) ::ReleaseCapture();
    if (pressed && InClient(window_.get(), position)) Toggle();
}

void TVornTCheckBox::ReleaseInput() {
    pressedBySpace_ = false;
    pressedByMouse_ = false;
    if (::GetCapture() == window_.get()) ::ReleaseCapture();
}

void TVornTCheckBox::Moved(const WINDOWPOS& position) {
    if (!(position.flags & SWP_NOMOVE)) {
        left_ = position.x;
        top_ = position.y;
    }
    if (!(position.flags & SWP_NOSIZE)) {
        width_ = position.cx;
        height_ = position.cy;
    }
}

LRESULT CALLBACK TVornTCheckBox::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
    if (message == WM_NCDESTROY) {
        // Also the end of a window destroyed with its parent, before this object.
        DetachSubclass(window, SubclassProc, kSubclassId);
        reinterpret_cast<TVornTCheckBox*>(self)->window_.release();
        return CallSubclassBase(window, message, wParam, lParam);
    }
    try {
        return reinterpret_cast<TVornTCheckBox*>(self)->WndProc(message, wParam, lParam);
    } catch (...) {
        // No failure may unwind through the platform's window procedure.
        ShowCurrentError();
    }
    return 0;
}

LRESULT TVornTCheckBox::CallBase(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallSubclassBase(window_.get(), message, wParam, lParam);
}

// The platform's button draws itself outside WM_PAINT on many messages (check
// state, focus, enabling, text, keyboard cues). It still has to see them, so it
// gets them while its window is marked not visible, which leaves its drawing
// with nothing to land on; the control's own paint then follows.
LRESULT TVornTCheckBox::CallBaseUnseen(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool hide = unseenDepth_ == 0 && (::GetWindowLongW(window_.get(), GWL_STYLE) & WS_VISIBLE);
    ++unseenDepth_;
    if (hide) CallBase(WM_SETREDRAW, FALSE, 0);
    const LRESULT result = CallBase(message, wParam, lParam);
    if (hide && window_) CallBase(WM_SETREDRAW, TRUE, 0);
    --unseenDepth_;
    Invalidate();
    return result;
}

LRESULT TVornTCheckBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        WMPaint();
        return 0;
    case WM_PRINTCLIENT:
        PaintControl(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        // The paint covers the whole control.
        return 1;
    case WM_WINDOWPOSCHANGED:
        Moved(*reinterpret_cast<const WINDOWPOS*>(lParam));
        break;
    case WM_SIZE:
        Invalidate();
        break;
    case WM_MOUSEMOVE:
        MouseMove(lParam);
        return 0;
    case WM_MOUSELEAVE:
        mouseInClient_ = false;
        Invalidate();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MousePress();
        return 0;
    case WM_LBUTTONUP:
        MouseRelease(lParam);
        return 0;
    case WM_CAPTURECHANGED:
        pressedByMouse_ = false;
        return 0;
    case WM_KEYDOWN:
        if (wParam != VK_SPACE) return CallBaseUnseen(message, wParam, lParam);
        pressedBySpace_ = true;
        return 0;
    case WM_KEYUP:
        if (wParam != VK_SPACE) return CallBaseUnseen(message, wParam, lParam);
        if (std::exchange(pressedBySpace_, false)) Toggle();
        return 0;
    case WM_SYSCHAR:
        if (DialogChar(static_cast<wchar_t>(wParam))) return 0;
        break;
    case BM_CLICK:
        // What the dialog manager sends when the accelerator is typed.
        FocusAndToggle();
        return 0;
    case WM_KILLFOCUS:
        ReleaseInput();
        return CallBaseUnseen(message, wParam, lParam);
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case WM_CHANGEUISTATE:
    case WM_STYLECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        return CallBaseUnseen(message, wParam, lParam);
    default:
        break;
    }
    return CallBase(message, wParam, lParam);
}
