#include "Reporter.h"

#include "ExitCodes.h"
#include "Messages.h"
#include "PlatformError.h"

void Reporter::NoteMessage(const std::wstring& text) const noexcept {
    try {
        log_.Write((quiet_ ? L"message, not shown (quiet): " : L"message: ") + text);
    } catch (...) {
        // The box still goes up.
    }
}

void Reporter::NoteFailure(const FailureCause& cause) const noexcept {
    try {
        log_.Write(L"error: " + DescribeFailure(cause));
    } catch (...) {
        // The box still goes up.
    }
}

int Reporter::Finish(int exitCode) const noexcept {
    try {
        log_.Write(L"exit code " + std::to_wstring(exitCode) + L": " + ExitCodeMeaning(exitCode));
    } catch (...) {
        // The code itself is what counts.
    }
    return exitCode;
}

std::optional<Reporter> ReporterFor(const Invocation& invocation, bool visible) {
    const bool quiet = invocation.quiet || !visible || invocation.road == Invocation::Road::Refused;
    try {
        return Reporter(OpenRunLog(invocation, quiet), quiet);
    } catch (const EPlatformError& error) {
        if (!quiet) ShowErrorMessage(error.Message());
        return std::nullopt;
    }
}
