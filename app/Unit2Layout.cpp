// The window's editions, its two layouts, the details panel and the busy state.
#include "Unit2.h"

#include "FolderRules.h"
#include "FormDescription.h"
#include "LoadResText.h"
#include "ProductEntries.h"
#include "WindowPlacement.h"

namespace {

constexpr int kRowHeight = 32;
constexpr int kBoxesBaseTop = 180;
constexpr const wchar_t* kVersion = L"2026.2.3.1";
constexpr COLORREF kAddInVersionColour = 0x004A2B0A;

RECT ChildBounds(HWND control) {
    RECT bounds{};
    ::GetWindowRect(control, &bounds);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

void SetChildBounds(HWND control, int left, int top, int width, int height) {
    ::SetWindowPos(control, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetChildWidth(HWND control, int width) {
    const RECT bounds = ChildBounds(control);
    SetChildBounds(control, bounds.left, bounds.top, width, bounds.bottom - bounds.top);
}

void SetChildHeight(HWND control, int height) {
    const RECT bounds = ChildBounds(control);
    SetChildBounds(control, bounds.left, bounds.top, bounds.right - bounds.left, height);
}

int ChildHeight(HWND control) {
    const RECT bounds = ChildBounds(control);
    return bounds.bottom - bounds.top;
}

void SetChildVisible(HWND control, bool visible) { ::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE); }

}  // namespace

void TForm2::ArrangeWindow() {
    LoadPictures();
    ReadEditionFlags();
    RECT area{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const WindowOrigin origin = CentredOrigin({area.left, area.top, area.right, area.bottom}, kFormWidth, kFormHeight);
    ::SetWindowPos(Handle(), nullptr, origin.left, origin.top, kFormWidth, kFormHeight,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (IsPluginParcial || IsPluginFull) {
        ArrangeAddOnLayout();
    } else {
        ArrangeStandardLayout();
    }
    ShowVersionLabels();
    const bool interactive = !Unattended();
    SetChildVisible(Button1, interactive);
    SetChildVisible(Button2, interactive);
    spButton->SetVisible(interactive);
}

void TForm2::ReadEditionFlags() {
    IsPluginParcial = IsEditionSwitchOn(LoadResText(kPluginParcialEntry));
    IsPluginFull = IsEditionSwitchOn(LoadResText(kPluginFullEntry));
}

void TForm2::LoadPictures() {
    bmpLogo.reset();
    bmpFundo.reset();
    // Once at the size it is shown: painting then copies it as it is.
    bmpFundo = std::make_unique<TBitmap>(background_.valid() ? background_.get()
                                                             : LoadJpegResource(L"Fundo", kFormWidth, kFormHeight));
    bmpLogo = std::make_unique<TBitmap>(LoadBitmapResource(L"Logo"));
}

void TForm2::PlaceControl(HWND control, int left, int baseTop, int row) {
    const RECT bounds = ChildBounds(control);
    SetChildBounds(control, left, baseTop + kRowHeight * row, bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void TForm2::PlaceControl(TVornTCheckBox& control, int left, int baseTop, int row) {
    control.SetBounds(left, baseTop + kRowHeight * row, control.Width(), control.Height());
}

void TForm2::PlaceControl(TGraphicControl& control, int left, int baseTop, int row) {
    control.SetBounds(left, baseTop + kRowHeight * row, control.Width(), control.Height());
}

void TForm2::ArrangeStandardLayout() {
    PlaceControl(*ckLinkDesktop, 80, kBoxesBaseTop, 1);
    PlaceControl(*ckLinkStartMenu, 80, kBoxesBaseTop, 2);
    PlaceControl(*ckCloseAndRun, 80, kBoxesBaseTop, 3);
    PlaceControl(*ckAllUsers, 80, kBoxesBaseTop, 4);
    PlaceControl(edPath, 80, 163, 0);
    PlaceControl(btExplorer, 717, 162, 0);
    // The edit's right edge meets the browse button.
    SetChildWidth(edPath, 637);
    SetChildHeight(btExplorer, ChildHeight(edPath) + 2);
    PlaceControl(*lblKetrovaVersion, 375, 50, 0);
}

void TForm2::ArrangeAddOnLayout() {
    PlaceControl(*ckLinkDesktop, 355, kBoxesBaseTop, 1);
    PlaceControl(*ckLinkStartMenu, 355, kBoxesBaseTop, 2);
    PlaceControl(*ckCloseAndRun, 355, kBoxesBaseTop, 3);
    PlaceControl(*ckAllUsers, 355, kBoxesBaseTop, 4);
    PlaceControl(edPath, 355, 163, 0);
    PlaceControl(btExplorer, 730, 162, 0);
    SetChildWidth(edPath, 375);
    SetChildHeight(btExplorer, ChildHeight(edPath) + 2);
    PlaceControl(*lblTextoPlugin, 400, 222, 0);
    PlaceControl(*lblAddinVersion, 50, 400, 0);
}

void TForm2::ShowVersionLabels() {
    lblKetrovaVersion->SetCaption(kVersion);
    lblKetrovaVersion->SetAutoSize(true);
    lblKetrovaVersion->SetVisible(true);
    BringToFront(*lblKetrovaVersion);
    if (!IsPluginParcial && !IsPluginFull) return;
    lblAddinVersion->SetFontColour(kAddInVersionColour);
    lblAddinVersion->SetCaption(L"");
    lblAddinVersion->SetAutoSize(true);
    lblAddinVersion->SetVisible(true);
    BringToFront(*lblAddinVersion);
}

template <typename F>
void TForm2::ForEachOptionBox(F action) {
    for (auto* box : {ckLinkDesktop.get(), ckLinkStartMenu.get(), ckCloseAndRun.get(), ckAllUsers.get()}) {
        if (box) action(*box);
    }
}

void TForm2::SetDetailsVisible(bool value) {
    ExibirSetupDetalhado = value;
    ForEachOptionBox([&](TVornTCheckBox& box) { box.SetVisible(value && PluginAllowed); });
    SetChildVisible(btExplorer, value);
    SetChildVisible(edPath, value);
    // The panel appears or vanishes together with its controls.
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void TForm2::spButtonClick() { SetDetailsVisible(!ExibirSetupDetalhado); }

void TForm2::EnterBusyState() {
    SetDetailsVisible(false);
    // Never set back: the program ends in this state. The progress takes the
    // panel's place.
    busy_ = true;
    busyStatus_ = L"Preparando a instalação…";
    ProgressTimer();
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ::EnableWindow(Button1, FALSE);
    ::EnableWindow(Button2, FALSE);
    spButton->SetEnabled(false);
}
