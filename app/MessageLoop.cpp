#include "MessageLoop.h"

#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

bool PumpMessage(HWND mainWindow, int& exitCode) {
    MSG message{};
    if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
        exitCode = static_cast<int>(message.wParam);
        return false;
    }
    if (mainWindow && ::IsWindow(mainWindow) && ::IsDialogMessageW(mainWindow, &message)) return true;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    return true;
}

int RunMessageLoop(HWND mainWindow) {
    int exitCode = 0;
    while (PumpMessage(mainWindow, exitCode)) {
    }
    return exitCode;
}

void RunBesideMessageLoop(HWND mainWindow, const std::function<void()>& work) {
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    auto run = [&]() noexcept {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        finished = true;
        // Wakes the loop below.
        ::PostMessageW(mainWindow, WM_NULL, 0, 0);
    };
    std::optional<std::jthread> worker;
    try {
        worker.emplace(run);
    } catch (const std::system_error&) {
        run();
    }
    int quitCode = 0;
    bool quit = false;
    while (!finished) quit = !PumpMessage(mainWindow, quitCode) || quit;
    worker.reset();
    if (quit) ::PostQuitMessage(quitCode);
    if (failure) std::rethrow_exception(failure);
}
