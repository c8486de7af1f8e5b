// The one place where a run tells what happened: a box for a person, a line
// in the log, and the exit code for the program that started it. A quiet run
// differs from a visible one only here: what a box would have said goes to
// the log.
#pragma once

#include "CommandLine.h"
#include "Failure.h"
#include "RunLog.h"

#include <optional>
#include <string>
#include <string_view>

class Reporter {
public:
    // Shows its boxes and logs nothing.
    Reporter() = default;
    Reporter(RunLog log, bool quiet) : log_(std::move(log)), quiet_(quiet) {}

    bool Quiet() const { return quiet_; }
    const RunLog& Log() const { return log_; }

    // An event for the log only.
    void Note(std::wstring_view text) const noexcept { log_.Write(text); }

    // What a box says: logged, and shown by show(text) unless the run is quiet.
    template <typename Show>
    void Tell(const std::wstring& text, Show&& show) const noexcept {
        try {
            NoteMessage(text);
            if (!quiet_) show(text);
        } catch (...) {
            // Nothing left to tell it with.
        }
    }

    // A failed step: its cause in the log, then the box a person is shown.
    template <typename Show>
    void Fail(const FailureCause& cause, const std::wstring& boxText, Show&& show) const noexcept {
        NoteFailure(cause);
        Tell(boxText, show);
    }

    // The exit code and its meaning, last in the log; returns the code.
    int Finish(int exitCode) const noexcept;

private:
    void NoteMessage(const std::wstring& text) const noexcept;
    void NoteFailure(const FailureCause& cause) const noexcept;

    RunLog log_;
    bool quiet_ = false;
};

// How a run reports, from its command line and whether anybody can see its
// session: quiet when asked, when nobody can see it, or when the command line
// is refused (it came from a tool that expected another program's silence);
// with the log that OpenRunLog gives. Nothing when that log cannot be
// created, which a person who can see the session is told in a box: the run
// then ends with kExitLogFailed before anything changes.
std::optional<Reporter> ReporterFor(const Invocation& invocation, bool visible);
