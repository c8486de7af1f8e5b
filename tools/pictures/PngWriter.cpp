#include "PngWriter.h"

#include <zlib.h>

#include <stdexcept>

namespace pictures {
namespace {

void chunk(ByteWriter& out, const char* type, const Bytes& data) {
    ByteWriter typed;
    typed.text(type).append(data);
    const Bytes& body = typed.bytes();
    out.be32(static_cast<std::uint32_t>(data.size())).append(body);
    out.be32(static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), body.data(), static_cast<uInt>(body.size()))));
}

// Rows with the "sub" filter, which suits smooth gradients and flat areas alike.
Bytes filteredRows(const Image& image) {
    Bytes rows;
    rows.reserve(static_cast<std::size_t>(image.height()) * (1 + 4 * image.width()));
    for (int y = 0; y < image.height(); ++y) {
        rows.push_back(1);
        for (int x = 0; x < image.width(); ++x)
            for (int k = 0; k < 4; ++k)
                rows.push_back(static_cast<std::uint8_t>(image.channel(x, y, k) - (x > 0 ? image.channel(x - 1, y, k) : 0)));
    }
    return rows;
}

}  // namespace

Bytes encodePng(const Image& image) {
    const Bytes raw = filteredRows(image);
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes compressed(size);
    if (compress2(compressed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
        throw std::runtime_error("zlib failed to compress the PNG image");
    compressed.resize(size);

    ByteWriter png;
    png.u8(0x89).text("PNG\r\n\x1A\n");
    chunk(png, "IHDR",
          ByteWriter()
              .be32(static_cast<std::uint32_t>(image.width()))
              .be32(static_cast<std::uint32_t>(image.height()))
              .u8(8)  // bits per channel
              .u8(6)  // RGBA
              .u8(0)  // deflate
              .u8(0)  // adaptive filtering
              .u8(0)  // no interlace
              .take());
    chunk(png, "IDAT", compressed);
    chunk(png, "IEND", {});
    return png.take();
}

}  // namespace pictures
