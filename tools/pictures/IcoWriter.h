// Icon files: one directory, then each image either as a DIB (colour rows and a
// 1-bit AND mask) or as a PNG.
#pragma once

#include <filesystem>
#include <vector>

#include "Bytes.h"
#include "Raster.h"

namespace pictures {

struct IconImage {
    int width = 0;
    int height = 0;
    int announcedBitCount = 0;  // what the directory entry says
    Bytes data;
};

// 8 bits per pixel with its own 256-colour palette; pixels below half alpha are masked out.
IconImage dibIcon8(const Image& image);
// 32 bits per pixel, straight alpha, with the matching mask.
IconImage dibIcon32(const Image& image);
IconImage pngIcon(const Image& image);

void writeIco(const std::vector<IconImage>& images, const std::filesystem::path& path);

}  // namespace pictures
