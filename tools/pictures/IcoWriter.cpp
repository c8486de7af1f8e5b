#include "IcoWriter.h"

#include "BmpWriter.h"
#include "Palette.h"
#include "PngWriter.h"

namespace pictures {
namespace {

bool opaqueEnough(const Image& image, int x, int y) { return image.at(x, y).a >= 0.5f; }

Rgb8 rgbAt(const Image& image, int x, int y) {
    return {image.channel(x, y, 0), image.channel(x, y, 1), image.channel(x, y, 2)};
}

// 1 bit per pixel, bottom-up, rows padded to 4 bytes; a set bit lets the screen show through.
Bytes andMask(const Image& image) {
    const int rowBytes = ((image.width() + 31) / 32) * 4;
    Bytes mask(static_cast<std::size_t>(rowBytes) * image.height(), 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (!opaqueEnough(image, x, y))
                mask[static_cast<std::size_t>(image.height() - 1 - y) * rowBytes + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    return mask;
}

}  // namespace

IconImage dibIcon8(const Image& image) {
    std::vector<Rgb8> colors;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (opaqueEnough(image, x, y)) colors.push_back(rgbAt(image, x, y));
    const Palette palette = medianCutPalette(colors);

    const int rowBytes = (image.width() + 3) / 4 * 4;
    ByteWriter pixels;
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x)
            pixels.u8(opaqueEnough(image, x, y) ? nearestIndex(palette, rgbAt(image, x, y)) : 0);  // 0 is black
        for (int x = image.width(); x < rowBytes; ++x) pixels.u8(0);
    }
    const Bytes mask = andMask(image);

    ByteWriter data;
    data.append(bitmapInfoHeader(image.width(), 2 * image.height(), 8, static_cast<std::uint32_t>(pixels.bytes().size() + mask.size())));
    for (const Rgb8& c : palette) data.u8(c.b).u8(c.g).u8(c.r).u8(0);
    data.append(pixels.bytes()).append(mask);
    return {image.width(), image.height(), 8, data.take()};
}

IconImage dibIcon32(const Image& image) {
    const Bytes rows = bitmapRows(image, 32);
    const Bytes mask = andMask(image);
    ByteWriter data;
    data.append(bitmapInfoHeader(image.width(), 2 * image.height(), 32, static_cast<std::uint32_t>(rows.size() + mask.size())));
    data.append(rows).append(mask);
    return {image.width(), image.height(), 32, data.take()};
}

IconImage pngIcon(const Image& image) { return {image.width(), image.height(), 32, encodePng(image)}; }

void writeIco(const std::vector<IconImage>& images, const std::filesystem::path& path) {
    constexpr std::uint32_t DirectorySize = 6, EntrySize = 16;
    ByteWriter file;
    file.u16(0).u16(1).u16(static_cast<unsigned>(images.size()));
    auto offset = DirectorySize + EntrySize * static_cast<std::uint32_t>(images.size());
    for (const IconImage& image : images) {
        file.u8(image.width >= 256 ? 0 : image.width)  // 0 stands for 256
            .u8(image.height >= 256 ? 0 : image.height)
            .u8(0)  // colour count: 0 for 8 bits and more
            .u8(0)
            .u16(1)  // planes
            .u16(static_cast<unsigned>(image.announcedBitCount))
            .u32(static_cast<std::uint32_t>(image.data.size()))
            .u32(offset);
        offset += static_cast<std::uint32_t>(image.data.size());
    }
    for (const IconImage& image : images) file.append(image.data);
    writeFile(path, file.bytes());
}

}  // namespace pictures
