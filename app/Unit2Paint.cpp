// The window's picture: background, logo and the details panel (or, busy,
// the progress in its place), then the
// windowless controls, composed off-screen and copied in one piece.
#include "Unit2.h"

namespace {

constexpr COLORREF kPanelColour = 0x0021130D;
constexpr RECT kLogoBounds{20, 10, 110, 100};
constexpr RECT kStandardPanel{55, 130, 760, 365};
constexpr RECT kAddOnPanel{330, 130, 774, 365};
constexpr int kPanelCorner = 20;

}  // namespace

void TForm2::FormPaint(HDC dc) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    if (bmpFundo) {
        bmpFundo->StretchDraw(dc, client);
    } else {
        ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    }
    if (bmpLogo) bmpLogo->StretchDraw(dc, kLogoBounds);
    if (ExibirSetupDetalhado) {
        PaintPanel(dc);
    } else if (busy_ && !Unattended()) {
        // The closed panel's place holds the progress.
        PaintProgress(dc);
    }
}

RECT TForm2::PanelBounds() const { return IsPluginParcial || IsPluginFull ? kAddOnPanel : kStandardPanel; }

void TForm2::PaintPanel(HDC dc) const {
    const win::UniquePen pen(::CreatePen(PS_SOLID, 1, kPanelColour));
    const win::UniqueBrush brush(::CreateSolidBrush(kPanelColour));
    const win::ScopedSelect selectPen(dc, pen.get());
    const win::ScopedSelect selectBrush(dc, brush.get());
    const RECT panel = PanelBounds();
    ::RoundRect(dc, panel.left, panel.top, panel.right, panel.bottom, kPanelCorner, kPanelCorner);
}

void TForm2::WMPaint() {
    const win::ScopedPaint paint(Handle());
    // Only the part to be painted is composed, in a surface of its size: the
    // progress repaints a few lines up to thirty times a second, and a surface
    // of the whole window cost 5-14 ms a time while the work kept the
    // processors busy.
    const RECT& dirty = paint.info().rcPaint;
    const int width = dirty.right - dirty.left;
    const int height = dirty.bottom - dirty.top;
    if (width <= 0 || height <= 0) return;
    const win::UniqueMemoryDc buffer(::CreateCompatibleDC(paint.dc()));
    const win::UniqueBitmap surface(::CreateCompatibleBitmap(paint.dc(), width, height));
    const win::ScopedSelect selectSurface(buffer.get(), surface.get());
    // Drawn in the window's coordinates.
    ::SetViewportOrgEx(buffer.get(), -dirty.left, -dirty.top, nullptr);
    ::IntersectClipRect(buffer.get(), dirty.left, dirty.top, dirty.right, dirty.bottom);
    FormPaint(buffer.get());
    for (const TGraphicControl* control : graphicControls_) control->Paint(buffer.get());
    ::SetViewportOrgEx(buffer.get(), 0, 0, nullptr);
    ::BitBlt(paint.dc(), dirty.left, dirty.top, width, height, buffer.get(), 0, 0, SRCCOPY);
}
