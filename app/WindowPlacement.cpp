#include "WindowPlacement.h"

#include <algorithm>

namespace {

int Centred(int start, int end, int size) { return std::max(start, start + (end - start - size) / 2); }

}  // namespace

WindowOrigin CentredOrigin(const WorkArea& area, int width, int height) {
    return {Centred(area.left, area.right, width), Centred(area.top, area.bottom, height)};
}
