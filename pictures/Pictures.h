// The window's pictures: the background decoded from its JPEG resource, the
// logo bitmap and the toggle's alpha glyph, each held as a DIB section.
#pragma once

#include "Handles.h"

class TBitmap {
public:
    TBitmap(win::UniqueBitmap handle, int width, int height);

    HBITMAP Handle() const { return handle_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Plain colour-on-colour stretch: rows and columns dropped or repeated.
    void StretchDraw(HDC dc, const RECT& target) const;
    // For premultiplied 32-bit pictures; constantAlpha 255 draws it as it is.
    void AlphaDraw(HDC dc, int left, int top, BYTE constantAlpha) const;

private:
    win::UniqueBitmap handle_;
    int width_;
    int height_;
};

// Decodes the JPEG resource of that name (type "JPEG") into a 24-bit DIB
// section: at full size, or made exactly width x height once, by the decoder's
// scaling and then by area averaging. Any thread may load it.
TBitmap LoadJpegResource(const wchar_t* name, int width = 0, int height = 0);

// A bitmap resource, as a DIB section.
TBitmap LoadBitmapResource(const wchar_t* name);

// An RCDATA resource holding a 32-bit BMP file with straight alpha, as a
// premultiplied 32-bit DIB section for GdiAlphaBlend.
TBitmap LoadAlphaBitmapResource(const wchar_t* name);
