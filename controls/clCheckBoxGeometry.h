// Where the option box puts its box and how it scales its check mark: pure
// functions of the client size, the box size, the flags and the alignment.
#pragma once

#include "clVornTCheckBoxTypes.h"

// The box size when no visual style answers.
inline constexpr int kUnthemedBoxSize = 12;

// The explicit inset, or one pixel for each whole 12 pixels of box width.
int EffectiveFrameWidth(bool automatic, int explicitWidth, int boxWidth);

// The left-aligned box starts at the left edge; the right-aligned one ends 2 pixels short of the right edge.
int BoxLeftFor(TLeftRight alignment, int clientWidth, int boxWidth);

// Centred boxes round a half pixel to the even neighbour.
int BoxTopFor(TVerticalAlignment alignment, int clientHeight, int boxHeight);

// n in twelfths of the box size, the fraction dropped toward zero.
int ScaleBy(int n, int boxSize);
