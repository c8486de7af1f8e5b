// The application's message loop, with the dialog manager's keyboard
// handling (Tab, Enter, Escape) for the main window.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

// Waits for one message and runs it; false, with its exit code, when it is
// the quit request.
bool PumpMessage(HWND mainWindow, int& exitCode);

// Runs until the quit request; returns its exit code.
int RunMessageLoop(HWND mainWindow);

// Runs work on a thread of its own while this one keeps the window answering
// and painting, whatever the work's length; then throws what the work threw.
// Without a thread to be had the work runs here, and the window waits. A quit
// request that comes meanwhile is kept for after.
void RunBesideMessageLoop(HWND mainWindow, const std::function<void()>& work);

// The same for work with a result.
template <typename Work>
std::invoke_result_t<Work&> RunBesideMessageLoop(HWND mainWindow, Work work) {
    using Result = std::invoke_result_t<Work&>;
    if constexpr (std::is_void_v<Result>) {
        RunBesideMessageLoop(mainWindow, std::function<void()>(std::move(work)));
    } else {
        std::optional<Result> result;
        RunBesideMessageLoop(mainWindow, std::function<void()>([&] { result.emplace(work()); }));
        return std::move(*result);
    }
}
