// Area-averaging resampling of 3-byte pixels: each target pixel is the mean of
// the source area it covers, so a picture made smaller keeps its detail
// instead of the jagged edges of dropped rows and columns. Integer arithmetic
// throughout, so that every build gives the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>

struct BgrPixels {
    std::uint8_t* pixels;  // top row first, 3 bytes a pixel
    int width;
    int height;
    std::ptrdiff_t stride;  // bytes from one row to the next
};

void ResampleByArea(const BgrPixels& source, const BgrPixels& target);
