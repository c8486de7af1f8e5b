// Reading the main window back through the platform: geometry, fonts, the
// order of the children, and the pixels on the screen.
#pragma once

#include "Unit2.h"

#include <windows.h>

#include <string>
#include <vector>

namespace probe {

// Runs the messages that are waiting, then lets the display settle.
void Pump(int rounds = 3);

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);

bool HasStyle(HWND window, LONG style);

struct FontInfo {
    std::wstring face;
    LONG height;
    BYTE charset;
};
FontInfo ControlFont(HWND control);

// The form's children in z-order, which is also their tab order.
std::vector<HWND> Children(HWND form);

// A picture of an area, as 0x00BBGGRR values row by row.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    bool operator==(const Capture&) const = default;
};
// The form's client area as the screen shows it.
Capture CaptureScreen(const TForm2& form);
// What the bitmap gives when stretched into a target of this size.
Capture StretchReference(HBITMAP bitmap, int width, int height);
// Writes a 24-bit BMP file, for the reference pictures of the documentation.
void SaveBmp(const Capture& capture, const std::wstring& path);
// Saves the capture under KETROVA_SCREENSHOTS when that folder is set.
void SaveScreenshot(const Capture& capture, const wchar_t* name);

// A click of the left button at a client point, as mouse messages.
void Click(const TForm2& form, int x, int y);

// A key pressed and released on the focused control, through the dialog manager.
bool DialogKey(const TForm2& form, UINT key);

// A quit request waiting in the queue (it is taken out).
bool TakeQuitRequest();

// The administrator test's fakes.
inline bool Administrator() { return true; }
inline bool NotAdministrator() { return false; }

}  // namespace probe
