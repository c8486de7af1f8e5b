#include "Label.h"

#include "Fonts.h"

namespace {

constexpr UINT kTextFormat = DT_CENTER | DT_WORDBREAK;

}  // namespace

TLabel::TLabel(HWND parent, const ControlDescription& description)
    : TGraphicControl(parent,
                      {description.left, description.top, description.left + description.width,
                       description.top + description.height},
                      description.visible),
      font_(CreateDescribedFont(description.font)),
      colour_(description.font.colour),
      caption_(description.text) {}

void TLabel::Paint(HDC dc) const {
    if (!Visible()) return;
    win::ScopedSelect font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colour_);
    RECT bounds = Bounds();
    ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &bounds, kTextFormat);
}

void TLabel::SetCaption(const std::wstring& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFontColour(COLORREF colour) {
    if (colour == colour_) return;
    colour_ = colour;
    Invalidate();
}

void TLabel::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!autoSize_) return;
    win::ScopedWindowDc screen(nullptr);
    win::ScopedSelect font(screen.dc(), font_.get());
    // An empty text still takes the height of one line.
    const std::wstring measured = caption_.empty() ? L" " : caption_;
    RECT extent{0, 0, Width(), 0};
    ::DrawTextW(screen.dc(), measured.c_str(), static_cast<int>(measured.size()), &extent,
                DT_WORDBREAK | DT_CALCRECT);
    SetBounds(Left(), Top(), extent.right - extent.left, extent.bottom - extent.top);
}
