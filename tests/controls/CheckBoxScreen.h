// What the Wine tests of the option box need around it: a real top-level window
// on the display, a message pump, pixel captures and pictures of the expected
// drawing built pixel by pixel.
#pragma once

#include "Handles.h"
#include "clVornTCheckBoxTypes.h"

#include <windows.h>

#include <string>
#include <vector>

// Pixels as colour references 0x00BBGGRR, row by row.
struct Picture {
    Picture() = default;
    Picture(int w, int h, TColor fill) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill) {}

    TColor At(int x, int y) const { return pixels[y * width + x]; }
    // Pixels outside the picture are dropped, as the window clips them.
    void Set(int x, int y, TColor colour);
    void Fill(int left, int top, int right, int bottom, TColor colour);
    // The outline of the rectangle (right and bottom excluded) in pen, its inside in brush.
    void Rectangle(int left, int top, int right, int bottom, TColor pen, TColor brush);
    // A 45-degree line without its end point.
    void Diagonal(int x0, int y0, int x1, int y1, TColor colour);
    // The caption as DrawTextW draws it into this picture with the box's font.
    void Caption(const std::wstring& text, const std::wstring& face, int size, int weight, RECT rect, UINT flags,
                 TColor colour);
    int CountOf(TColor colour, int left, int top, int right, int bottom) const;
    int CountOtherThan(TColor colour, int left, int top, int right, int bottom) const;

    int width = 0;
    int height = 0;
    std::vector<TColor> pixels;
};

// The width of a caption in the box's font, ampersands included.
int CaptionWidth(const std::wstring& text, const std::wstring& face, int size, int weight);

// Describes the differences between two pictures of the same size; empty when equal.
std::string Differences(const Picture& actual, const Picture& expected);

// A borderless, topmost top-level window with a plain background, shown on the
// display, that moves the keyboard focus on WM_NEXTDLGCTL like a dialog.
class HostWindow {
public:
    static constexpr TColor kBackground = 0x00FF00FF;

    HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND Handle() const { return window_.get(); }
    // The one host of the test program, with the keyboard focus on itself.
    static HWND Shared();

private:
    win::UniqueWindow window_;
};

// Dispatches messages until the queue has stayed empty for a while; with a
// dialog window, its keyboard handling (tab, accelerators) sees them first.
void PumpUntilIdle(HWND dialog = nullptr);
void PumpFor(DWORD milliseconds);

// The client area of a window as it appears on the screen.
Picture CaptureScreen(HWND window);
// The client area of a window read from its own surface, without waiting for
// the display: shows at once what anything drew into it.
Picture CaptureSurface(HWND window);

// Moves the real pointer to a point of the window's client area, or far away.
void MovePointerTo(HWND window, int x, int y);
void MovePointerAway();
void ClickAt(HWND window, int x, int y);
void PressKey(WORD key);
void PressAltWith(WORD key);
