#include "JpegDecoder.h"

#include "Exception.h"

#include <JpegWriter.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Rows as the decoder gives them, or none at all.
class Rows : public BgrTarget {
public:
    explicit Rows(bool refuse = false) : refuse_(refuse) {}
    std::uint8_t* Allocate(int width, int height, std::ptrdiff_t& stride) noexcept override {
        if (refuse_) return nullptr;
        width_ = width;
        height_ = height;
        stride = 3 * width;
        pixels_.assign(static_cast<std::size_t>(stride * height), 0);
        return pixels_.data();
    }
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;

private:
    bool refuse_;
};

// A 40 x 30 picture in one colour, through the build's own JPEG writer.
std::vector<std::uint8_t> RedJpeg() {
    const auto path = std::filesystem::temp_directory_path() / "ketrova-jpeg-decoder-test.jpg";
    pictures::writeProgressiveJpeg(pictures::Image(40, 30, pictures::rgb(200, 30, 20)), 95, 96, path);
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::filesystem::remove(path);
    return bytes;
}

std::wstring DecodeError(std::span<const std::uint8_t> bytes, Rows& target) {
    try {
        DecodeJpeg(bytes, target);
    } catch (const Exception& error) {
        return error.Message();
    }
    return L"";
}

TEST(DecodeJpeg, GivesBlueGreenRedRowsAtTheLeastCoveringScale) {
    const std::vector<std::uint8_t> jpeg = RedJpeg();
    Rows whole;
    DecodeJpeg(jpeg, whole);
    EXPECT_EQ(whole.width_, 40);
    EXPECT_EQ(whole.height_, 30);
    EXPECT_NEAR(whole.pixels_[0], 20, 4);
    EXPECT_NEAR(whole.pixels_[1], 30, 4);
    EXPECT_NEAR(whole.pixels_[2], 200, 4);
    Rows scaled;
    DecodeJpeg(jpeg, scaled, 10, 8);
    EXPECT_EQ(scaled.width_, 10);
    EXPECT_EQ(scaled.height_, 8);
}

// Each failure leaves the decoder destroyed: the sanitized build reports a leak otherwise.
TEST(DecodeJpeg, FailsWithTheCauseAndFreesTheDecoder) {
    const std::vector<std::uint8_t> notJpeg{'B', 'M', 0, 0, 0, 0, 0, 0};
    Rows target;
    EXPECT_NE(DecodeError(notJpeg, target), L"");
    Rows refusing(true);
    EXPECT_EQ(DecodeError(RedJpeg(), refusing), L"Memória insuficiente para a imagem de fundo");
}

}  // namespace
