#include "MessageLoop.h"

int RunMessageLoop(HWND mainWindow) {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (mainWindow && ::IsWindow(mainWindow) && ::IsDialogMessageW(mainWindow, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
