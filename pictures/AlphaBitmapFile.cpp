#include "AlphaBitmapFile.h"

#include "Exception.h"

#include <cstdlib>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kMaxSide = 4096;

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

[[noreturn]] void Malformed() { throw Exception(L"Imagem do botão de detalhes inválida"); }

}  // namespace

std::uint32_t Premultiply(std::uint32_t argb) {
    const std::uint32_t alpha = argb >> 24;
    auto channel = [&](int shift) { return (((argb >> shift) & 0xFFu) * alpha + 127u) / 255u << shift; };
    return alpha << 24 | channel(16) | channel(8) | channel(0);
}

PremultipliedImage ReadPremultipliedBmp(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') Malformed();
    const std::uint32_t pixelOffset = ReadU32(file, 10);
    const std::uint32_t infoSize = ReadU32(file, 14);
    const auto width = static_cast<std::int32_t>(ReadU32(file, 18));
    const auto signedHeight = static_cast<std::int32_t>(ReadU32(file, 22));
    const std::uint16_t bitCount = ReadU16(file, 28);
    const std::uint32_t compression = ReadU32(file, 30);
    if (infoSize < kInfoHeaderSize || bitCount != 32 || compression != 0) Malformed();
    // Widened first: the height of INT32_MIN has no 32-bit magnitude.
    const std::int64_t height = std::llabs(static_cast<std::int64_t>(signedHeight));
    if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide) Malformed();

    PremultipliedImage image;
    image.width = width;
    image.height = static_cast<int>(height);
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (pixelOffset > file.size() || (file.size() - pixelOffset) / 4 < count) Malformed();
    image.pixels.resize(count);
    const bool topDown = signedHeight < 0;
    for (int row = 0; row < image.height; ++row) {
        const int target = topDown ? image.height - 1 - row : row;
        for (int column = 0; column < image.width; ++column) {
            const std::size_t source = pixelOffset + (static_cast<std::size_t>(row) * image.width + column) * 4;
            image.pixels[static_cast<std::size_t>(target) * image.width + column] = Premultiply(ReadU32(file, source));
        }
    }
    return image;
}
