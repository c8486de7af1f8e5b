// The installer's pictures, drawn in its palette: the navy of the window's
// panel, the blue of its highlight, white and light grey.
#pragma once

#include "Raster.h"

namespace pictures {

Image background(int width, int height);  // the window's backdrop
Image logo(int width, int height);        // the mark on the backdrop's navy, opaque
Image mark(int size);                     // the mark alone on transparency, for icons
Image wrench(int size);                   // outline of a wrench, light grey on transparency

}  // namespace pictures
