// libjpeg behind a small interface: the decoded rows go straight into memory
// that the caller provides once the picture's size is known.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

class BgrTarget {
public:
    virtual ~BgrTarget() = default;
    // Memory for height rows of width 3-byte pixels (blue, green, red), rows
    // stride bytes apart, top row first; nullptr when it cannot be had.
    virtual std::uint8_t* Allocate(int width, int height, std::ptrdiff_t& stride) noexcept = 0;
};

// Raises Exception with the decoder's own text when the bytes do not decode.
// With a least size, the decoder's own scaling (in eighths) makes the picture
// as small as it can be while it still covers that size: far less work than
// decoding it whole.
void DecodeJpeg(std::span<const std::uint8_t> bytes, BgrTarget& target, int leastWidth = 0, int leastHeight = 0);
