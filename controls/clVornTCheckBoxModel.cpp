#include "clVornTCheckBoxModel.h"

#include "clCheckBoxGeometry.h"
#include "clThemeCheckBoxSize.h"

#include <utility>

TVornTCheckBoxModel::TVornTCheckBoxModel(std::function<void()> invalidate) : invalidate_(std::move(invalidate)) {}

void TVornTCheckBoxModel::SetFontBold(bool value) {
    // Unlike the other properties, every write repaints, changed or not.
    fFontWeight = value ? kBoldWeight : 0;
    invalidate_();
}

int TVornTCheckBoxModel::ThemeBoxWidth() const {
    const auto size = QueryThemeCheckBoxSize(NativeWindow());
    return size ? size->Width : kUnthemedBoxSize;
}

int TVornTCheckBoxModel::ThemeBoxHeight() const {
    const auto size = QueryThemeCheckBoxSize(NativeWindow());
    return size ? size->Height : kUnthemedBoxSize;
}

int TVornTCheckBoxModel::BoxSizeWidthAtual() const {
    return fBoxSizeWidthDefault ? ThemeBoxWidth() : fBoxSizeWidth;
}

int TVornTCheckBoxModel::BoxSizeHeightAtual() const {
    return fBoxSizeHeightDefault ? ThemeBoxHeight() : fBoxSizeHeight;
}

int TVornTCheckBoxModel::BoxFrameWidthAtual() const {
    return EffectiveFrameWidth(fBoxFrameWidthAuto, fBoxFrameWidth, BoxSizeWidthAtual());
}

int TVornTCheckBoxModel::BoxLeft() const {
    return BoxLeftFor(Alignment(), ClientWidth(), BoxSizeWidthAtual());
}

int TVornTCheckBoxModel::BoxRight() const {
    return BoxLeft() + BoxSizeWidthAtual();
}

int TVornTCheckBoxModel::BoxTop() const {
    return BoxTopFor(fVerticalAlignment, ClientHeight(), BoxSizeHeightAtual());
}

int TVornTCheckBoxModel::BoxBottom() const {
    return BoxTop() + BoxSizeHeightAtual();
}

int TVornTCheckBoxModel::ScaleX(int n) const {
    return ScaleBy(n, BoxSizeWidthAtual());
}

int TVornTCheckBoxModel::ScaleY(int n) const {
    return ScaleBy(n, BoxSizeHeightAtual());
}
