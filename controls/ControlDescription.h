// A control as a form description gives it: kind, place, text and font, with
// the values its designer set.
#pragma once

#include <windows.h>

enum class ControlKind { SpeedButton, Label, DefaultButton, Button, Edit };

struct FontDescription {
    const wchar_t* face;
    int height;  // character height in pixels
    bool bold;
    COLORREF colour;
    BYTE charset;
};

struct ControlDescription {
    ControlKind kind;
    int id;  // command identifier of a windowed control
    int left;
    int top;
    int width;
    int height;
    const wchar_t* text;
    bool visible;
    FontDescription font;  // labels only; the others take the window's font
};
