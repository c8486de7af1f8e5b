// The smallest Win32 program with a window: the yardstick for start-up times.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"KetrovaMinimal";
    ::RegisterClassW(&windowClass);
    const HWND window = ::CreateWindowExW(0, L"KetrovaMinimal", L"Minimal", WS_POPUP, 0, 0, 800, 450, nullptr,
                                          nullptr, instance, nullptr);
    ::ShowWindow(window, show);
    // With an argument it quits as soon as it is shown, like an unattended run.
    if (*commandLine) ::PostQuitMessage(0);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}
