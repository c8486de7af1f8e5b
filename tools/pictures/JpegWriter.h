// Progressive JPEG through libjpeg: YCbCr without chroma subsampling, JFIF 1.01.
#pragma once

#include <filesystem>

#include "Raster.h"

namespace pictures {

void writeProgressiveJpeg(const Image& image, int quality, int dotsPerInch, const std::filesystem::path& path);

}  // namespace pictures
