// Starts a program with an exact command line, which Wine's own argument
// quoting cannot give: KETROVA_E2E_CMDLINE holds it whole. With
// KETROVA_E2E_WAIT_TITLE set, prints the milliseconds until a visible window
// with that caption appears, and with KETROVA_E2E_CLOSE set then closes it.
// With KETROVA_E2E_STATION set, the program runs on a desktop of a window
// station of its own, which nobody sees, as a service's programs do. Prints
// how many visible windows of the program it saw while it ran and the
// program's exit code whole, and exits with that code.
#include "Handles.h"

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

void closeStation(HWINSTA station) noexcept { ::CloseWindowStation(station); }
void closeDesktop(HDESK desktop) noexcept { ::CloseDesktop(desktop); }
using UniqueStation = win::Unique<HWINSTA, nullptr, closeStation>;
using UniqueDesktop = win::Unique<HDESK, nullptr, closeDesktop>;

constexpr wchar_t kStation[] = L"KetrovaE2E";
constexpr wchar_t kDesktop[] = L"KetrovaE2E\\Default";

std::wstring environment(const wchar_t* name) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    value.resize(::GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

HWND visibleWindowWithTitle(const std::wstring& title) {
    const HWND window = ::FindWindowW(nullptr, title.c_str());
    return window && ::IsWindowVisible(window) ? window : nullptr;
}

struct WindowWatch {
    DWORD process;
    std::set<HWND> seen;
};

BOOL CALLBACK noteVisibleWindow(HWND window, LPARAM watchPointer) {
    auto& watch = *reinterpret_cast<WindowWatch*>(watchPointer);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == watch.process && ::IsWindowVisible(window)) watch.seen.insert(window);
    return TRUE;
}

// The station and its desktop, made while this process is on the station.
struct InvisibleDesktop {
    UniqueStation station;
    UniqueDesktop desktop;
};

bool makeInvisibleDesktop(InvisibleDesktop& made) {
    made.station.reset(::CreateWindowStationW(kStation, 0, WINSTA_ALL_ACCESS, nullptr));
    if (!made.station) return false;
    const HWINSTA own = ::GetProcessWindowStation();
    if (!::SetProcessWindowStation(made.station.get())) return false;
    made.desktop.reset(::CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr));
    ::SetProcessWindowStation(own);
    return static_cast<bool>(made.desktop);
}

}  // namespace

int wmain() {
    std::wstring commandLine = environment(L"KETROVA_E2E_CMDLINE");
    const std::wstring waitTitle = environment(L"KETROVA_E2E_WAIT_TITLE");
    if (commandLine.empty()) {
        std::fputs("launch: KETROVA_E2E_CMDLINE is not set\n", stderr);
        return 255;
    }
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    InvisibleDesktop invisible;
    std::wstring desktopName = kDesktop;
    if (!environment(L"KETROVA_E2E_STATION").empty()) {
        if (!makeInvisibleDesktop(invisible)) {
            std::fprintf(stderr, "launch: no window station of its own (%lu)\n", ::GetLastError());
            return 255;
        }
        startup.lpDesktop = desktopName.data();
    }
    PROCESS_INFORMATION info{};
    LARGE_INTEGER frequency, started, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&started);
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "launch: CreateProcessW failed with %lu\n", ::GetLastError());
        return 255;
    }
    const win::UniqueProcessInformation child(info);
    WindowWatch watch{info.dwProcessId, {}};
    if (!waitTitle.empty()) {
        HWND window = nullptr;
        while (!(window = visibleWindowWithTitle(waitTitle)) && ::WaitForSingleObject(child.process.get(), 1) == WAIT_TIMEOUT) {
        }
        ::QueryPerformanceCounter(&now);
        std::printf("window-ms=%.1f\n", 1000.0 * double(now.QuadPart - started.QuadPart) / double(frequency.QuadPart));
        std::fflush(stdout);
        if (window && !environment(L"KETROVA_E2E_CLOSE").empty()) ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    do {
        ::EnumWindows(noteVisibleWindow, reinterpret_cast<LPARAM>(&watch));
    } while (::WaitForSingleObject(child.process.get(), 10) == WAIT_TIMEOUT);
    ::QueryPerformanceCounter(&now);
    std::printf("exit-ms=%.1f\n", 1000.0 * double(now.QuadPart - started.QuadPart) / double(frequency.QuadPart));
    std::printf("visible-windows=%zu\n", watch.seen.size());
    DWORD code = 0;
    ::GetExitCodeProcess(child.process.get(), &code);
    // A Unix exit status keeps only the low byte: 1618 would read as 82.
    std::printf("exit-code=%lu\n", code);
    return static_cast<int>(code);
}
