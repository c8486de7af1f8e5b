#include "Raster.h"

#include <algorithm>
#include <cmath>

namespace pictures {

Color rgb(int r, int g, int b, float a) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f, static_cast<float>(b) / 255.0f, a};
}

Color mix(Color x, Color y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Image::Image(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, fill) {}

std::uint8_t Image::channel(int x, int y, int index) const {
    const Color& c = at(x, y);
    const float v = index == 0 ? c.r : index == 1 ? c.g : index == 2 ? c.b : c.a;
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

void fill(Image& image, const std::function<Color(Point)>& colorAt) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.at(x, y) = colorAt({static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f});
}

void paint(Image& image, const Shape& shape, const std::function<Color(Point)>& colorAt, float softness) {
    const float width = std::max(1.0f, softness);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Point p{static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f};
            const float coverage = std::clamp(0.5f - shape(p) / width, 0.0f, 1.0f);
            if (coverage <= 0) continue;
            const Color color = colorAt(p);
            const float a = coverage * color.a;
            if (a <= 0) continue;
            Color& d = image.at(x, y);
            const float outA = a + d.a * (1 - a);
            const auto blend = [&](float s, float t) { return (s * a + t * d.a * (1 - a)) / outA; };
            d = {blend(color.r, d.r), blend(color.g, d.g), blend(color.b, d.b), outA};
        }
    }
}

void paint(Image& image, const Shape& shape, Color color, float softness) {
    paint(image, shape, [color](Point) { return color; }, softness);
}

namespace shapes {

Shape circle(Point c, float radius) {
    return [=](Point p) { return std::hypot(p.x - c.x, p.y - c.y) - radius; };
}

Shape roundedBox(Point c, Point half, float radius) {
    return [=](Point p) {
        const float qx = std::abs(p.x - c.x) - half.x + radius, qy = std::abs(p.y - c.y) - half.y + radius;
        return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Shape capsule(Point a, Point b, float radius) {
    return [=](Point p) {
        const float px = p.x - a.x, py = p.y - a.y, bx = b.x - a.x, by = b.y - a.y;
        const float t = std::clamp((px * bx + py * by) / (bx * bx + by * by), 0.0f, 1.0f);
        return std::hypot(px - bx * t, py - by * t) - radius;
    };
}

Shape unite(Shape x, Shape y) {
    return [=](Point p) { return std::min(x(p), y(p)); };
}

Shape subtract(Shape from, Shape hole) {
    return [=](Point p) { return std::max(from(p), -hole(p)); };
}

Shape outline(Shape shape, float halfWidth) {
    return [=](Point p) { return std::abs(shape(p)) - halfWidth; };
}

}  // namespace shapes
}  // namespace pictures
