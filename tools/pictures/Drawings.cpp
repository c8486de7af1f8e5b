#include "Drawings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pictures {
namespace {

const Color Navy = rgb(13, 19, 33);  // the panel colour
const Color Highlight = rgb(32, 78, 158);
const Color Sky = rgb(84, 150, 230);
const Color White = rgb(255, 255, 255);

float smooth(float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// A fixed, tiny grain that keeps the large gradients from banding in 8 bits.
float grain(int x, int y) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return (static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f - 0.5f) / 255.0f * 1.5f;
}

// The mark: a rounded square in the highlight blue holding a stylised K.
void drawMark(Image& image, Point centre, float size) {
    const float half = size * 0.5f;
    const Shape box = shapes::roundedBox(centre, {half, half}, size * 0.22f);
    paint(image, box, [&](Point p) { return mix(Sky, Highlight, smooth((p.y - (centre.y - half)) / size)); });

    const auto at = [&](float u, float v) { return Point{centre.x + (u - 0.5f) * size, centre.y + (v - 0.5f) * size}; };
    const float stroke = std::max(0.75f, size * 0.065f);
    const Shape k = shapes::unite(shapes::capsule(at(0.34f, 0.25f), at(0.34f, 0.75f), stroke),
                                  shapes::unite(shapes::capsule(at(0.40f, 0.53f), at(0.68f, 0.25f), stroke),
                                                shapes::capsule(at(0.47f, 0.47f), at(0.69f, 0.75f), stroke)));
    paint(image, k, White);
}

}  // namespace

Image background(int width, int height) {
    Image image(width, height);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    // Navy at the left, where the logo sits, rising to a soft blue glow at the right.
    fill(image, [&](Point p) {
        const float glow = 1 - smooth(std::hypot((p.x - 0.72f * w) / w, (p.y - 0.42f * h) / w) / 0.62f);
        const float vignette = smooth(std::hypot(p.x / w - 0.72f, p.y / h - 0.42f) / 0.9f);
        Color c = mix(Navy, rgb(28, 48, 88), 0.85f * glow);
        return mix(c, rgb(8, 12, 22), 0.35f * vignette * smooth(p.x / w * 2));
    });
    // Large, very soft discs and a few thin rings: depth without detail.
    const Color disc = mix(Highlight, Sky, 0.3f);
    paint(image, shapes::circle({0.80f * w, 0.30f * h}, 0.20f * w), {disc.r, disc.g, disc.b, 0.55f}, 0.30f * w);
    paint(image, shapes::circle({0.62f * w, 0.78f * h}, 0.16f * w), {Highlight.r, Highlight.g, Highlight.b, 0.35f}, 0.25f * w);
    paint(image, shapes::circle({0.95f * w, 0.85f * h}, 0.10f * w), {Sky.r, Sky.g, Sky.b, 0.20f}, 0.15f * w);
    const Color ring = {Sky.r, Sky.g, Sky.b, 0.10f};
    paint(image, shapes::outline(shapes::circle({0.74f * w, 0.46f * h}, 0.30f * w), 1.2f), ring, 1.5f);
    paint(image, shapes::outline(shapes::circle({0.74f * w, 0.46f * h}, 0.38f * w), 0.9f), {ring.r, ring.g, ring.b, 0.07f}, 1.5f);
    paint(image, shapes::outline(shapes::circle({1.02f * w, 0.10f * h}, 0.22f * w), 1.0f), ring, 1.5f);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Color& c = image.at(x, y);
            const float g = grain(x, y);
            c = {c.r + g, c.g + g, c.b + g, 1};
        }
    return image;
}

Image logo(int width, int height) {
    Image image(width, height, Navy);
    const float w = static_cast<float>(width), h = static_cast<float>(height);
    const Point centre{w * 0.5f, h * 0.5f};
    const float size = std::min(w, h) * 0.62f;
    paint(image, shapes::circle(centre, size * 0.55f), {Highlight.r, Highlight.g, Highlight.b, 0.35f}, size * 0.45f);
    drawMark(image, centre, size);
    return image;
}

Image mark(int size) {
    Image image(size, size);
    const float s = static_cast<float>(size);
    drawMark(image, {s * 0.5f, s * 0.5f}, s * 0.94f);
    return image;
}

Image wrench(int size) {
    Image image(size, size);
    const float u = static_cast<float>(size) / 32.0f;
    const auto at = [u](float x, float y) { return Point{x * u, y * u}; };
    // A handle from the lower left to an open jaw at the upper right.
    const Shape handle = shapes::capsule(at(7, 25), at(18.5f, 13.5f), 3.0f * u);
    const Shape head = shapes::circle(at(21.5f, 10.5f), 7.0f * u);
    const Shape jaw = shapes::unite(shapes::circle(at(21.5f, 10.5f), 2.6f * u), shapes::capsule(at(21.5f, 10.5f), at(29, 3), 2.6f * u));
    const Shape body = shapes::subtract(shapes::unite(handle, head), jaw);
    paint(image, shapes::outline(body, 0.75f * u), rgb(0xC8, 0xC8, 0xC8));
    return image;
}

}  // namespace pictures
