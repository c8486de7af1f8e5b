// The installer's look for its option boxes: light text and a white box on the
// window's dark panel, blue under the mouse, a blue box and mark when focused,
// 360 x 18, checked at first.
#pragma once

#include "clVornTCheckBox.h"

#include <string>

// Hidden until the window places it.
void ConfigureOptionBox(TVornTCheckBox& box, HWND parent, const std::wstring& text);
