// The details toggle's glyph is stored as a 32-bit BMP file with straight alpha;
// GdiAlphaBlend wants premultiplied pixels, so they are converted once at load.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

struct PremultipliedImage {
    int width = 0;
    int height = 0;
    // Rows bottom-up, each pixel 0xAARRGGBB with the colour multiplied by alpha.
    std::vector<std::uint32_t> pixels;
};

// Raises Exception when the bytes are not an uncompressed 32-bit BMP file.
PremultipliedImage ReadPremultipliedBmp(std::span<const std::uint8_t> file);

std::uint32_t Premultiply(std::uint32_t straightArgb);
