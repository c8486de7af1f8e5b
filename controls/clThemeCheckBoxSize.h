// The size of the visual style's check-box glyph, asked afresh on every call.
#pragma once

#include <optional>

struct TThemePartSize {
    int Width;
    int Height;
};

// window is the control's native window handle (may be null). Empty when there
// is no visual style, no theme for buttons or the size query fails.
std::optional<TThemePartSize> QueryThemeCheckBoxSize(void* window);
