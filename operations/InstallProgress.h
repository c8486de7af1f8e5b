// How far the copy and the extraction of the payload have come, and the way
// to stop them: the work, on its own thread or threads, advances counters
// that the window reads, and passes a checkpoint between pieces where it
// waits while the user is asked whether to cancel and ends once cancelled.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>

class InstallProgress {
public:
    enum class Phase : int { Copying, Extracting, FilesInPlace };

    // The whole work: the payload's bytes to copy and the bytes its files
    // take, with the number of files. Set once, before the first piece.
    void Begin(std::uint64_t copyBytes, std::uint64_t extractBytes, unsigned files) noexcept;
    void Copied(std::uint64_t bytes) noexcept { done_ += bytes; }
    void StartExtracting() noexcept { phase_ = Phase::Extracting; }
    // bytes more of the files are written; a file started counts as one more.
    void Extracted(std::uint64_t bytes, bool fileStarted) noexcept;

    Phase CurrentPhase() const noexcept { return phase_; }
    // Parts of scale done: only the complete installation reaches scale.
    int Done(int scale) const noexcept;
    unsigned FilesStarted() const noexcept { return filesStarted_; }
    unsigned Files() const noexcept { return files_; }

    // Between pieces of work: waits while paused, then throws EStepFailed
    // (cancelled by the user, ERROR_INSTALL_USEREXIT) once stopped.
    void Checkpoint() const;
    // The last checkpoint: past it the files are in place and nothing stops.
    void FilesInPlace();
    // The window asks: the work waits at its next checkpoint until resumed.
    // False, and nothing paused, once the files are in place.
    bool Pause() noexcept;
    void Resume() noexcept;
    void Stop() noexcept;
    bool Stopped() const noexcept { return stop_.stop_requested(); }

private:
    void WaitWhilePaused(std::unique_lock<std::mutex>& lock) const;
    void ThrowIfStopped() const;

    std::atomic<std::uint64_t> total_{0};
    std::atomic<std::uint64_t> done_{0};
    std::atomic<unsigned> files_{0};
    std::atomic<unsigned> filesStarted_{0};
    std::atomic<Phase> phase_{Phase::Copying};
    std::atomic<bool> paused_{false};
    std::stop_source stop_;
    mutable std::mutex mutex_;
    mutable std::condition_variable_any resumed_;
};
