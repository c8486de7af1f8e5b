// Ketrova: the product's main window. Its title reports the executable's path,
// the working directory and the show command in a fixed, machine-readable
// form, so that an installer's launch of it can be checked from outside.
// Asked to close (WM_CLOSE, WM_QUERYENDSESSION) it saves its "document" as a
// real product would: it appends its path to the file that
// KETROVA_SAMPLE_SAVE_TO names, so that a close can be told from a kill. With
// KETROVA_SAMPLE_REFUSE_CLOSE set it refuses, like a product waiting for an
// answer that never comes.
#include <windows.h>

#include <string>

#include "Handles.h"

namespace {

constexpr wchar_t WindowClass[] = L"KetrovaMainWindow";
constexpr COLORREF Background = RGB(13, 19, 33);
constexpr COLORREF Accent = RGB(32, 78, 158);

std::wstring modulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring currentDirectory() {
    std::wstring directory(::GetCurrentDirectoryW(0, nullptr), L'\0');
    directory.resize(::GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data()));
    return directory;
}

std::wstring windowTitle(int show) {
    return L"Ketrova | exe=" + modulePath() + L" | cwd=" + currentDirectory() + L" | show=" + std::to_wstring(show);
}

std::wstring environment(const wchar_t* name) {
    std::wstring value(::GetEnvironmentVariableW(name, nullptr, 0), L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size())));
    return value;
}

bool refusesToClose() { return !environment(L"KETROVA_SAMPLE_REFUSE_CLOSE").empty(); }

void saveDocument() {
    const std::wstring document = environment(L"KETROVA_SAMPLE_SAVE_TO");
    if (document.empty()) return;
    const win::UniqueFile file(::CreateFileW(document.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::wstring line = L"closed " + modulePath() + L"\r\n";
    DWORD written = 0;
    // Nothing to tell anybody if it fails: the test that asked finds no line.
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
}

void paint(HWND window) {
    win::ScopedPaint paint(window);
    RECT client{};
    ::GetClientRect(window, &client);

    const win::UniqueBrush background(::CreateSolidBrush(Background));
    ::FillRect(paint.dc(), &client, background.get());
    RECT band = client;
    band.top = (client.top + client.bottom) / 2 + 34;
    band.bottom = band.top + 3;
    band.left = (client.left + client.right) / 2 - 60;
    band.right = band.left + 120;
    const win::UniqueBrush accent(::CreateSolidBrush(Accent));
    ::FillRect(paint.dc(), &band, accent.get());

    const win::UniqueFont font(::CreateFontW(-48, 0, 0, 0, FW_LIGHT, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                             CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Segoe UI"));
    const win::ScopedSelect selected(paint.dc(), font.get());
    ::SetBkMode(paint.dc(), TRANSPARENT);
    ::SetTextColor(paint.dc(), RGB(255, 255, 255));
    ::DrawTextW(paint.dc(), L"Ketrova", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_CLOSE:
        if (refusesToClose()) return 0;
        saveDocument();
        ::DestroyWindow(window);
        return 0;
    case WM_QUERYENDSESSION:
        if (refusesToClose()) return FALSE;
        saveDocument();
        return TRUE;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WindowClass;
    if (!::RegisterClassExW(&windowClass)) return 1;

    const HWND window = ::CreateWindowExW(0, WindowClass, windowTitle(show).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                          CW_USEDEFAULT, 640, 400, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ::ShowWindow(window, show);
    ::UpdateWindow(window);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
