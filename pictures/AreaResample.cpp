#include "AreaResample.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t One = 1u << 16;  // a tap's weights add up to this

struct Tap {
    int first;
    std::vector<std::uint32_t> weights;
};

// Target pixel i covers [i * from, (i + 1) * from) and source pixel s covers
// [s * to, (s + 1) * to), both in units of 1/to of a source pixel.
std::vector<Tap> Taps(int from, int to) {
    std::vector<Tap> taps(static_cast<std::size_t>(to));
    for (int i = 0; i < to; ++i) {
        const std::int64_t begin = std::int64_t{i} * from;
        const std::int64_t end = begin + from;
        Tap& tap = taps[static_cast<std::size_t>(i)];
        tap.first = static_cast<int>(begin / to);
        std::uint32_t given = 0;
        for (std::int64_t s = tap.first; s * to < end; ++s) {
            const std::int64_t overlap = std::min(end, (s + 1) * to) - std::max(begin, s * to);
            const auto weight = static_cast<std::uint32_t>(overlap * One / from);
            tap.weights.push_back(weight);
            given += weight;
        }
        tap.weights.back() += One - given;
    }
    return taps;
}

}  // namespace

void ResampleByArea(const BgrPixels& source, const BgrPixels& target) {
    const auto columns = Taps(source.width, target.width);
    const auto rows = Taps(source.height, target.height);
    // Rows first: each source row narrowed to the target's width, 8 bits of fraction kept.
    const auto rowLength = static_cast<std::size_t>(target.width) * 3;
    std::vector<std::uint16_t> narrowed(rowLength * static_cast<std::size_t>(source.height));
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.pixels + source.stride * y;
        std::uint16_t* out = narrowed.data() + rowLength * static_cast<std::size_t>(y);
        for (const Tap& tap : columns) {
            for (int c = 0; c < 3; ++c) {
                std::uint32_t sum = 0;
                for (std::size_t k = 0; k < tap.weights.size(); ++k) {
                    sum += tap.weights[k] * in[(static_cast<std::size_t>(tap.first) + k) * 3 + static_cast<std::size_t>(c)];
                }
                *out++ = static_cast<std::uint16_t>((sum + 128) >> 8);
            }
        }
    }
    for (int y = 0; y < target.height; ++y) {
        const Tap& tap = rows[static_cast<std::size_t>(y)];
        std::uint8_t* out = target.pixels + target.stride * y;
        for (std::size_t x = 0; x < rowLength; ++x) {
            std::uint64_t sum = 0;
            for (std::size_t k = 0; k < tap.weights.size(); ++k) {
                sum += std::uint64_t{tap.weights[k]} * narrowed[(static_cast<std::size_t>(tap.first) + k) * rowLength + x];
            }
            out[x] = static_cast<std::uint8_t>((sum + (1u << 23)) >> 24);
        }
    }
}
