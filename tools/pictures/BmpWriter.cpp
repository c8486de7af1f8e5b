#include "BmpWriter.h"

#include <stdexcept>

namespace pictures {
namespace {

constexpr std::int32_t PixelsPerMetre = 3780;
constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;

}  // namespace

Bytes bitmapInfoHeader(int width, int height, int bitCount, std::uint32_t imageSize) {
    return ByteWriter()
        .u32(InfoHeaderSize)
        .i32(width)
        .i32(height)  // positive: bottom-up
        .u16(1)       // planes
        .u16(static_cast<unsigned>(bitCount))
        .u32(0)  // BI_RGB
        .u32(imageSize)
        .i32(PixelsPerMetre)
        .i32(PixelsPerMetre)
        .u32(0)  // colours used: all that the bit count allows
        .u32(0)  // all colours important
        .take();
}

Bytes bitmapRows(const Image& image, int bitCount) {
    if (bitCount != 24 && bitCount != 32) throw std::invalid_argument("bitmap rows are 24 or 32 bits per pixel");
    ByteWriter rows;
    for (int y = image.height() - 1; y >= 0; --y) {
        std::size_t rowBytes = 0;
        for (int x = 0; x < image.width(); ++x) {
            rows.u8(image.channel(x, y, 2)).u8(image.channel(x, y, 1)).u8(image.channel(x, y, 0));
            if (bitCount == 32) rows.u8(image.channel(x, y, 3));
            rowBytes += static_cast<std::size_t>(bitCount / 8);
        }
        for (; rowBytes % 4 != 0; ++rowBytes) rows.u8(0);
    }
    return rows.take();
}

void writeBmp(const Image& image, int bitCount, const std::filesystem::path& path) {
    const Bytes rows = bitmapRows(image, bitCount);
    const auto offset = FileHeaderSize + InfoHeaderSize;
    ByteWriter file(offset + rows.size());
    file.text("BM").u32(offset + static_cast<std::uint32_t>(rows.size())).u16(0).u16(0).u32(offset);
    file.append(bitmapInfoHeader(image.width(), image.height(), bitCount, static_cast<std::uint32_t>(rows.size())));
    file.append(rows);
    writeFile(path, file.bytes());
}

}  // namespace pictures
