#include "Palette.h"

#include <algorithm>

namespace pictures {
namespace {

using Box = std::vector<Rgb8>;

int channel(const Rgb8& c, int k) { return k == 0 ? c.r : k == 1 ? c.g : c.b; }

// The channel with the widest spread in the box, and that spread.
std::pair<int, int> widest(const Box& box) {
    int best = 0, bestRange = -1;
    for (int k = 0; k < 3; ++k) {
        const auto [lo, hi] = std::minmax_element(box.begin(), box.end(),
                                                  [k](const Rgb8& a, const Rgb8& b) { return channel(a, k) < channel(b, k); });
        const int range = channel(*hi, k) - channel(*lo, k);
        if (range > bestRange) best = k, bestRange = range;
    }
    return {best, bestRange};
}

Rgb8 average(const Box& box) {
    unsigned long r = 0, g = 0, b = 0;
    for (const Rgb8& c : box) r += c.r, g += c.g, b += c.b;
    const auto n = box.size();
    return {static_cast<std::uint8_t>((r + n / 2) / n), static_cast<std::uint8_t>((g + n / 2) / n),
            static_cast<std::uint8_t>((b + n / 2) / n)};
}

}  // namespace

Palette medianCutPalette(const std::vector<Rgb8>& colors) {
    std::vector<Box> boxes;
    if (!colors.empty()) boxes.push_back(colors);
    while (boxes.size() < 255) {
        auto split = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return widest(a).second < widest(b).second; });
        if (split == boxes.end() || widest(*split).second <= 0) break;
        const int k = widest(*split).first;
        Box& box = *split;
        const auto middle = box.begin() + static_cast<std::ptrdiff_t>(box.size() / 2);
        std::nth_element(box.begin(), middle, box.end(), [k](const Rgb8& a, const Rgb8& b) { return channel(a, k) < channel(b, k); });
        Box upper(middle, box.end());
        box.erase(middle, box.end());
        boxes.push_back(std::move(upper));
    }
    Palette palette{};
    for (std::size_t i = 0; i < boxes.size(); ++i) palette[i + 1] = average(boxes[i]);
    return palette;
}

std::uint8_t nearestIndex(const Palette& palette, Rgb8 c) {
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < 256; ++i) {
        const int dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) best = i, bestDistance = distance;
    }
    return static_cast<std::uint8_t>(best);
}

}  // namespace pictures
