// Uncompressed device-independent bitmaps: bottom-up rows, BI_RGB, a 40-byte
// BITMAPINFOHEADER, 3780 pixels per metre (96 dpi).
#pragma once

#include <filesystem>

#include "Bytes.h"
#include "Raster.h"

namespace pictures {

// The 40-byte header; icons give twice the height (colour rows, then the mask).
Bytes bitmapInfoHeader(int width, int height, int bitCount, std::uint32_t imageSize);

// Pixel rows bottom-up, each padded to 4 bytes: 24 bits as B, G, R; 32 bits as
// B, G, R and straight alpha.
Bytes bitmapRows(const Image& image, int bitCount);

// A .bmp file; 24 bits drop alpha, 32 bits keep it in the fourth byte.
void writeBmp(const Image& image, int bitCount, const std::filesystem::path& path);

}  // namespace pictures
