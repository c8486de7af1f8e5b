// PNG encoding of an image with alpha: 8-bit RGBA, no interlace.
#pragma once

#include "Bytes.h"
#include "Raster.h"

namespace pictures {

Bytes encodePng(const Image& image);

}  // namespace pictures
