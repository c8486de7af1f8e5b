// A tiny raster to draw the installer's pictures with: an image of straight-alpha
// colours, shapes given as signed distance functions (negative inside), painted
// with analytic anti-aliasing and optional soft edges.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace pictures {

struct Color {
    float r = 0, g = 0, b = 0, a = 1;  // 0..1, straight alpha
};

Color rgb(int r, int g, int b, float a = 1);
Color mix(Color x, Color y, float t);

struct Point {
    float x = 0, y = 0;
};

class Image {
public:
    Image(int width, int height, Color fill = {0, 0, 0, 0});
    int width() const { return width_; }
    int height() const { return height_; }
    Color& at(int x, int y) { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    const Color& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    // 8-bit channel values with rounding, 0..255.
    std::uint8_t channel(int x, int y, int index) const;

private:
    int width_, height_;
    std::vector<Color> pixels_;
};

using Shape = std::function<float(Point)>;  // signed distance in pixels

// Fills every pixel with the colour a function gives for its centre.
void fill(Image& image, const std::function<Color(Point)>& colorAt);

// Paints a shape over the image; softness widens the anti-aliased edge to that many pixels.
void paint(Image& image, const Shape& shape, Color color, float softness = 1);
// The same with a colour per pixel, for gradients.
void paint(Image& image, const Shape& shape, const std::function<Color(Point)>& colorAt, float softness = 1);

namespace shapes {
Shape circle(Point centre, float radius);
Shape roundedBox(Point centre, Point halfSize, float radius);
Shape capsule(Point a, Point b, float radius);  // a segment with round ends
Shape unite(Shape x, Shape y);
Shape subtract(Shape from, Shape hole);
Shape outline(Shape shape, float halfWidth);  // a stroke along the shape's edge
}  // namespace shapes

}  // namespace pictures
