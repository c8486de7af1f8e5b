#include "InstallProgress.h"

#include <Failure.h>

#include <algorithm>

namespace {

// winerror.h's ERROR_INSTALL_USEREXIT: the user cancelled the installation.
constexpr unsigned long kInstallUserExit = 1602;

}  // namespace

void InstallProgress::Begin(std::uint64_t copyBytes, std::uint64_t extractBytes, unsigned files) noexcept {
    // What comes after the files (shortcuts, registration) keeps the last
    // hundredth, so that the bar is full only when everything is done.
    const std::uint64_t work = copyBytes + extractBytes;
    total_ = work + work / 99 + 1;
    files_ = files;
}

void InstallProgress::Extracted(std::uint64_t bytes, bool fileStarted) noexcept {
    done_ += bytes;
    if (fileStarted) ++filesStarted_;
}

int InstallProgress::Done(int scale) const noexcept {
    const std::uint64_t total = total_;
    if (total == 0) return 0;
    const std::uint64_t done = std::min<std::uint64_t>(done_, total - 1);
    return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * scale);
}

void InstallProgress::Checkpoint() const {
    if (paused_) {
        std::unique_lock lock(mutex_);
        WaitWhilePaused(lock);
    }
    ThrowIfStopped();
}

void InstallProgress::FilesInPlace() {
    // Under the lock: a question asked now either comes before, and is
    // answered first, or finds the files in place.
    std::unique_lock lock(mutex_);
    WaitWhilePaused(lock);
    ThrowIfStopped();
    phase_ = Phase::FilesInPlace;
}

void InstallProgress::WaitWhilePaused(std::unique_lock<std::mutex>& lock) const {
    resumed_.wait(lock, stop_.get_token(), [this] { return !paused_; });
}

void InstallProgress::ThrowIfStopped() const {
    if (stop_.stop_requested()) {
        throw EStepFailed({.step = L"install the payload", .systemCode = kInstallUserExit,
                           .text = L"cancelled by the user"});
    }
}

bool InstallProgress::Pause() noexcept {
    const std::lock_guard lock(mutex_);
    if (phase_ == Phase::FilesInPlace) return false;
    paused_ = true;
    return true;
}

void InstallProgress::Resume() noexcept {
    {
        const std::lock_guard lock(mutex_);
        paused_ = false;
    }
    resumed_.notify_all();
}

void InstallProgress::Stop() noexcept { stop_.request_stop(); }
