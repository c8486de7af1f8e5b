// The busy state while the payload is copied and extracted: the work runs on a
// thread of its own, this thread keeps the window painting, draws the bar and
// the status line at most about thirty times a second, and answers Cancelar.
#include "Unit2.h"

#include "ErrorReport.h"
#include "MessageLoop.h"
#include "Messages.h"
#include "PayloadName.h"

#include <exception>

namespace {

constexpr UINT_PTR kProgressTimer = 1;
constexpr UINT kProgressPeriodMs = 33;
constexpr COLORREF kPanelColour = 0x0021130D;
constexpr COLORREF kHighlight = 0x009E4E20;
constexpr COLORREF kTextColour = 0x00C0C0C0;
constexpr int kInset = 25;
constexpr int kStatusTop = 213;
constexpr int kBarTop = 240;
constexpr int kBarHeight = 18;

RECT StatusBounds(const RECT& panel) { return {panel.left + kInset, kStatusTop, panel.right - kInset, kBarTop - 6}; }
RECT BarBounds(const RECT& panel) {
    return {panel.left + kInset, kBarTop, panel.right - kInset, kBarTop + kBarHeight};
}
int BarScale(const RECT& panel) {
    const RECT bar = BarBounds(panel);
    return bar.right - bar.left - 4;
}

}  // namespace

void TForm2::ShowBusyStatus(const std::wstring& text) {
    busyStatus_ = text;
    ProgressTimer();
    ::UpdateWindow(Handle());
    // Wine puts a window's drawing on the screen when its thread next looks
    // for messages: the status is to be seen before a box that may follow.
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
}

InstalledPayload TForm2::InstallPayload(const std::wstring& folder) {
    // Nobody sees an unattended run's window.
    if (Unattended()) return InstallFromResource(PayloadResourceName, folder);
    progress_ = std::make_unique<InstallProgress>();
    payloadWriting_ = true;
    ::EnableWindow(Button2, TRUE);
    // The one control left enabled takes the keys: Escape, Enter and Space ask.
    ::SetFocus(Button2);
    ::SetTimer(Handle(), kProgressTimer, kProgressPeriodMs, nullptr);
    InstalledPayload installed;
    std::exception_ptr failure;
    try {
        installed = RunBesideMessageLoop(
            Handle(), [&] { return InstallFromResource(PayloadResourceName, folder, progress_.get()); });
    } catch (...) {
        failure = std::current_exception();
    }
    ::KillTimer(Handle(), kProgressTimer);
    ::EnableWindow(Button2, FALSE);
    payloadWriting_ = false;
    ProgressTimer();
    if (failure) std::rethrow_exception(failure);
    return installed;
}

void TForm2::AskToCancel() {
    if (askingToCancel_ || !progress_ || !progress_->Pause()) return;
    askingToCancel_ = true;
    reporter_.Note(L"asked whether to cancel");
    const bool yes = AskYesNo(L"Deseja cancelar a instalação?", true);
    askingToCancel_ = false;
    if (yes) {
        reporter_.Note(L"cancelled by the user");
        progress_->Stop();
        ::EnableWindow(Button2, FALSE);
        busyStatus_ = L"Cancelando…";
    }
    progress_->Resume();
}

void TForm2::ProgressTimer() {
    const RECT panel = PanelBounds();
    const int done = ProgressDone(BarScale(panel));
    std::wstring status = ProgressStatus();
    if (done == shownDone_ && status == shownStatus_) return;
    shownDone_ = done;
    shownStatus_ = std::move(status);
    const RECT changed{panel.left + kInset, kStatusTop, panel.right - kInset, kBarTop + kBarHeight};
    ::InvalidateRect(Handle(), &changed, FALSE);
}

std::wstring TForm2::ProgressStatus() const {
    if (!payloadWriting_ || !progress_ || progress_->Stopped()) return busyStatus_;
    if (progress_->CurrentPhase() == InstallProgress::Phase::Copying) return L"Copiando arquivos…";
    const unsigned files = progress_->Files();
    return L"Extraindo " + std::to_wstring(std::min(progress_->FilesStarted(), files)) + L" de " +
           std::to_wstring(files) + L" arquivos…";
}

int TForm2::ProgressDone(int scale) const {
    if (installationComplete_) return scale;
    return progress_ ? progress_->Done(scale) : 0;
}

void TForm2::PaintProgress(HDC dc) const {
    PaintPanel(dc);
    const RECT panel = PanelBounds();
    RECT status = StatusBounds(panel);
    const win::ScopedSelect selectFont(dc, font_.get());
    ::SetTextColor(dc, kTextColour);
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, shownStatus_.c_str(), static_cast<int>(shownStatus_.size()), &status,
                DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS | DT_NOPREFIX);
    const RECT bar = BarBounds(panel);
    const win::UniquePen outline(::CreatePen(PS_SOLID, 1, kTextColour));
    const win::ScopedSelect selectPen(dc, outline.get());
    const win::ScopedSelect selectBrush(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, bar.left, bar.top, bar.right, bar.bottom);
    const RECT filled{bar.left + 2, bar.top + 2, bar.left + 2 + std::max(shownDone_, 0), bar.bottom - 2};
    const win::UniqueBrush highlight(::CreateSolidBrush(kHighlight));
    ::FillRect(dc, &filled, highlight.get());
}
