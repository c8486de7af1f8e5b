#include "Pictures.h"

#include "AlphaBitmapFile.h"
#include "AreaResample.h"
#include "Exception.h"
#include "JpegDecoder.h"
#include "ResourceStream.h"

#include <cstring>

namespace {

// The resource's bytes in place, as the stream maps them.
std::span<const std::uint8_t> Bytes(TResourceStream& stream) {
    return {static_cast<const std::uint8_t*>(stream.Memory()), static_cast<std::size_t>(stream.Size())};
}

class DibSection : public BgrTarget {
public:
    std::uint8_t* Allocate(int width, int height, std::ptrdiff_t& stride) noexcept override {
        bits_ = nullptr;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down, as the decoder hands the rows out
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap) return nullptr;
        this->width = width;
        this->height = height;
        stride = (static_cast<std::ptrdiff_t>(width) * 3 + 3) & ~std::ptrdiff_t{3};
        bits_ = static_cast<std::uint8_t*>(bits);
        return bits_;
    }

    BgrPixels Pixels() const {
        return {bits_, width, height, (static_cast<std::ptrdiff_t>(width) * 3 + 3) & ~std::ptrdiff_t{3}};
    }

    win::UniqueBitmap bitmap;
    int width = 0;
    int height = 0;

private:
    std::uint8_t* bits_ = nullptr;
};

}  // namespace

TBitmap::TBitmap(win::UniqueBitmap handle, int width, int height)
    : handle_(std::move(handle)), width_(width), height_(height) {}

void TBitmap::StretchDraw(HDC dc, const RECT& target) const {
    win::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    win::ScopedSelect picture(source.get(), handle_.get());
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.get(), 0,
                 0, width_, height_, SRCCOPY);
}

void TBitmap::AlphaDraw(HDC dc, int left, int top, BYTE constantAlpha) const {
    win::UniqueMemoryDc source(::CreateCompatibleDC(dc));
    win::ScopedSelect picture(source.get(), handle_.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, constantAlpha, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, left, top, width_, height_, source.get(), 0, 0, width_, height_, blend);
}

TBitmap LoadJpegResource(const wchar_t* name, int width, int height) {
    TResourceStream stream(name, L"JPEG");
    DibSection decoded;
    DecodeJpeg(Bytes(stream), decoded, width, height);
    if (width == 0 || (decoded.width == width && decoded.height == height)) {
        return TBitmap(std::move(decoded.bitmap), decoded.width, decoded.height);
    }
    DibSection shown;
    std::ptrdiff_t stride = 0;
    if (!shown.Allocate(width, height, stride)) throw Exception(L"Memória insuficiente para a imagem de fundo");
    ResampleByArea(decoded.Pixels(), shown.Pixels());
    return TBitmap(std::move(shown.bitmap), width, height);
}

TBitmap LoadBitmapResource(const wchar_t* name) {
    win::UniqueBitmap bitmap(static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) throw Exception(L"Resource " + std::wstring(name) + L" not found");
    BITMAP info{};
    ::GetObjectW(bitmap.get(), sizeof info, &info);
    return TBitmap(std::move(bitmap), info.bmWidth, info.bmHeight);
}

TBitmap LoadAlphaBitmapResource(const wchar_t* name) {
    TResourceStream stream(name, RT_RCDATA);
    const PremultipliedImage image = ReadPremultipliedBmp(Bytes(stream));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = image.height;  // bottom-up, as stored
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap) throw Exception(L"Resource " + std::wstring(name) + L" not found");
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof image.pixels[0]);
    return TBitmap(std::move(bitmap), image.width, image.height);
}
