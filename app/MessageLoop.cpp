#include "MessageLoop.h"

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

void LetPaintingThrough() {
    MSG message;
    // Bounded, should a window never validate what it paints.
    for (int i = 0; i < 64 && ::PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        ::DispatchMessageW(&message);
    }
}
