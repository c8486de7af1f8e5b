// The entries' CRC-32 against zlib's table-driven one, over every way a chunk
// can start and end: the folding path handles 16-byte blocks and leaves the
// rest to the table, so alignment, length and a running value all matter.
#include <Crc32.h>

#include <gtest/gtest.h>

#include <zlib.h>

#include <random>
#include <vector>

namespace {

std::uint32_t Reference(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
    return static_cast<std::uint32_t>(crc32(crc, data, static_cast<uInt>(size)));
}

std::vector<std::uint8_t> RandomBytes(std::size_t size) {
    std::mt19937 random(20230101);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
}

TEST(Crc32, KnownValues) {
    const std::string check = "123456789";
    EXPECT_EQ(Crc32(0, reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0xCBF43926u);
    EXPECT_EQ(Crc32(0, nullptr, 0), 0u);
    EXPECT_EQ(Crc32(0x12345678, nullptr, 0), 0x12345678u);
    const std::vector<std::uint8_t> zeros(4096, 0);
    EXPECT_EQ(Crc32(0, zeros.data(), zeros.size()), Reference(0, zeros.data(), zeros.size()));
}

TEST(Crc32, EveryOffsetAndLengthAroundTheBlockSizes) {
    const auto bytes = RandomBytes(1024);
    for (std::size_t offset = 0; offset < 16; ++offset) {
        for (std::size_t length = 0; length <= 300; ++length) {
            const std::uint8_t* p = bytes.data() + offset;
            ASSERT_EQ(Crc32(0, p, length), Reference(0, p, length)) << "offset " << offset << " length " << length;
        }
    }
}

TEST(Crc32, RunningValueAcrossUnevenPieces) {
    const auto bytes = RandomBytes(3 << 20);
    std::mt19937 random(7);
    std::uint32_t ours = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t piece = std::min<std::size_t>(bytes.size() - at, random() % 200000);
        ours = Crc32(ours, bytes.data() + at, piece);
        at += piece;
    }
    EXPECT_EQ(ours, Reference(0, bytes.data(), bytes.size()));
    EXPECT_EQ(Crc32(0xFFFFFFFF, bytes.data(), 1 << 20), Reference(0xFFFFFFFF, bytes.data(), 1 << 20));
}

}  // namespace
