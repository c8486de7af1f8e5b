// The value types of the option box, shared by its portable model and its window.
#pragma once

#include <cstdint>

// A plain colour reference 0x00BBGGRR, handed to the drawing calls unchanged.
using TColor = std::uint32_t;

// Which side the caption goes to: taLeftJustify puts the box at the left.
enum TLeftRight { taLeftJustify, taRightJustify };

enum TVerticalAlignment : std::uint8_t { taAlignTop, taAlignBottom, taVerticalCenter };

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
