#include "clCheckBoxGeometry.h"

#include <cmath>
#include <cstdint>

int EffectiveFrameWidth(bool automatic, int explicitWidth, int boxWidth) {
    return automatic ? boxWidth / 12 : explicitWidth;
}

int BoxLeftFor(TLeftRight alignment, int clientWidth, int boxWidth) {
    return alignment == taRightJustify ? clientWidth - boxWidth - 2 : 0;
}

int BoxTopFor(TVerticalAlignment alignment, int clientHeight, int boxHeight) {
    switch (alignment) {
    case taAlignTop:
        return 0;
    case taAlignBottom:
        return clientHeight - boxHeight;
    case taVerticalCenter:
        break;
    }
    // nearbyint follows the default rounding mode, to nearest with ties to even.
    return static_cast<int>(std::nearbyint(clientHeight / 2.0 - boxHeight / 2.0));
}

int ScaleBy(int n, int boxSize) {
    // The product wraps as a 32-bit value would; C++ division truncates toward zero.
    const auto product = static_cast<std::int32_t>(static_cast<std::uint32_t>(n) * static_cast<std::uint32_t>(boxSize));
    return product / 12;
}
