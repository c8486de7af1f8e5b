// A windowless label: centred, word-wrapped text drawn without a background
// over whatever the window painted below it.
#pragma once

#include "ControlDescription.h"
#include "GraphicControl.h"
#include "Handles.h"

#include <string>

class TLabel : public TGraphicControl {
public:
    TLabel(HWND parent, const ControlDescription& description);

    void Paint(HDC dc) const override;

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    COLORREF FontColour() const { return colour_; }
    void SetFontColour(COLORREF colour);
    HFONT Font() const { return font_.get(); }
    // Auto-size fits the label to its text, measured with word wrap inside the
    // current width; left and top stay where they are.
    void SetAutoSize(bool autoSize);

private:
    void AdjustBounds();

    win::UniqueFont font_;
    COLORREF colour_;
    std::wstring caption_;
    bool autoSize_ = false;
};
