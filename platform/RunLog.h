// The log of a run for deployment tools and administrators: UTF-8, one line
// per event with the milliseconds since the run began, each line on disk
// before the run goes on, so that a run that is killed leaves a log that ends
// where it stopped. Others may read the file while it grows.
#pragma once

#include "CommandLine.h"
#include "Handles.h"

#include <chrono>
#include <string>
#include <string_view>

class RunLog {
public:
    // Writes nothing.
    RunLog() = default;
    // Creates the file, or replaces it when asked. Throws EPlatformError with
    // the system's code.
    explicit RunLog(std::wstring path, bool replace = true);

    bool IsOpen() const { return static_cast<bool>(file_); }
    const std::wstring& Path() const { return path_; }

    // One line; a line that cannot be written is lost, the run goes on.
    void Write(std::wstring_view text) const noexcept;

private:
    std::wstring path_;
    win::UniqueFile file_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// %TEMP%\<title>-<yyyymmdd-hhmmss>.log, on the local clock; a later attempt
// in the same second adds "-<attempt>" before the extension.
std::wstring DefaultLogPath(const std::wstring& title, int attempt = 0);

// The log the command line asks for: its file, or a file of its own in the
// temporary folder when asked without one or when the run shows nothing
// (then the log is all there is to read); none otherwise. Throws
// EPlatformError when it cannot be created.
RunLog OpenRunLog(const Invocation& invocation, bool quiet);
