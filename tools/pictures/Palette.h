// A 256-colour palette for 8-bit icon images, cut from the image's own colours.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace pictures {

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
};

using Palette = std::array<Rgb8, 256>;

// Entry 0 is black, kept for the transparent pixels that the icon's mask
// lets through; the other 255 come from median cuts of the colours given.
Palette medianCutPalette(const std::vector<Rgb8>& colors);

std::uint8_t nearestIndex(const Palette& palette, Rgb8 color);

}  // namespace pictures
