// Starts a program with an exact command line, which Wine's own argument
// quoting cannot give: KETROVA_E2E_CMDLINE holds it whole. With
// KETROVA_E2E_WAIT_TITLE set, prints the milliseconds until a visible window
// with that caption appears, and with KETROVA_E2E_CLOSE set then closes it.
// Exits with the program's exit code.
#include "Handles.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

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
    PROCESS_INFORMATION info{};
    LARGE_INTEGER frequency, started, now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&started);
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        std::fprintf(stderr, "launch: CreateProcessW failed with %lu\n", ::GetLastError());
        return 255;
    }
    const win::UniqueProcessInformation child(info);
    if (!waitTitle.empty()) {
        HWND window = nullptr;
        while (!(window = visibleWindowWithTitle(waitTitle)) && ::WaitForSingleObject(child.process.get(), 1) == WAIT_TIMEOUT) {
        }
        ::QueryPerformanceCounter(&now);
        std::printf("window-ms=%.1f\n", 1000.0 * double(now.QuadPart - started.QuadPart) / double(frequency.QuadPart));
        std::fflush(stdout);
        if (window && !environment(L"KETROVA_E2E_CLOSE").empty()) ::PostMessageW(window, WM_CLOSE, 0, 0);
    }
    ::WaitForSingleObject(child.process.get(), INFINITE);
    ::QueryPerformanceCounter(&now);
    std::printf("exit-ms=%.1f\n", 1000.0 * double(now.QuadPart - started.QuadPart) / double(frequency.QuadPart));
    DWORD code = 0;
    ::GetExitCodeProcess(child.process.get(), &code);
    return static_cast<int>(code);
}
