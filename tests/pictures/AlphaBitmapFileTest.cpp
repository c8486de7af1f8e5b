#include "AlphaBitmapFile.h"

#include "Exception.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A BMP file of width x height 32-bit pixels; pixels are given top row first.
std::vector<std::uint8_t> MakeBmp(int width, int height, const std::vector<std::uint32_t>& topFirst, bool topDown) {
    std::vector<std::uint8_t> bytes(54 + topFirst.size() * 4);
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutU32(bytes, 2, static_cast<std::uint32_t>(bytes.size()));
    PutU32(bytes, 10, 54);
    PutU32(bytes, 14, 40);
    PutU32(bytes, 18, static_cast<std::uint32_t>(width));
    PutU32(bytes, 22, static_cast<std::uint32_t>(topDown ? -height : height));
    bytes[26] = 1;
    bytes[28] = 32;
    for (int row = 0; row < height; ++row) {
        const int stored = topDown ? row : height - 1 - row;
        for (int column = 0; column < width; ++column) {
            PutU32(bytes, 54 + (static_cast<std::size_t>(stored) * width + column) * 4, topFirst[row * width + column]);
        }
    }
    return bytes;
}

TEST(Premultiply, ScalesTheColourByAlpha) {
    EXPECT_EQ(Premultiply(0xFFABCDEF), 0xFFABCDEFu);
    EXPECT_EQ(Premultiply(0x00FFFFFF), 0x00000000u);
    EXPECT_EQ(Premultiply(0x80FF8000), 0x80804000u);
}

TEST(ReadPremultipliedBmp, KeepsRowsBottomUpWhateverTheFileOrder) {
    const std::vector<std::uint32_t> top{0xFF0000FF, 0x80FFFFFF};
    const std::vector<std::uint32_t> pixels{top[0], top[1], 0xFF00FF00, 0x00123456};
    for (bool topDown : {false, true}) {
        const PremultipliedImage image = ReadPremultipliedBmp(MakeBmp(2, 2, pixels, topDown));
        ASSERT_EQ(image.width, 2);
        ASSERT_EQ(image.height, 2);
        EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0xFF00FF00, 0x00000000, 0xFF0000FF, 0x80808080}))
            << "top-down file: " << topDown;
    }
}

TEST(ReadPremultipliedBmp, RefusesWhatIsNotAnUncompressed32BitFile) {
    const auto good = MakeBmp(2, 2, {1, 2, 3, 4}, false);
    auto wrongMagic = good;
    wrongMagic[0] = 'X';
    auto wrongDepth = good;
    wrongDepth[28] = 24;
    auto compressed = good;
    compressed[30] = 3;
    auto truncated = good;
    truncated.resize(good.size() - 1);
    auto hugeWidth = good;
    PutU32(hugeWidth, 18, 0x7FFFFFFF);
    auto lowestHeight = good;
    PutU32(lowestHeight, 22, 0x80000000);
    auto offsetBeyondEnd = good;
    PutU32(offsetBeyondEnd, 10, 0xFFFFFFF0);
    for (const auto& bad : {wrongMagic, wrongDepth, compressed, truncated, hugeWidth, lowestHeight, offsetBeyondEnd,
                            std::vector<std::uint8_t>(20, 0)}) {
        EXPECT_THROW(ReadPremultipliedBmp(bad), Exception);
    }
}

}  // namespace
