// payload-install-bench: one unattended InstallFromResource of this
// executable's payload into a fresh folder; prints its milliseconds. With the
// argument "progress", the installation counts into a progress that another
// thread reads thirty times a second, as the window does.
#include <Exception.h>
#include <clInstallFromResource.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <thread>

int main(int argc, char** argv) {
    const bool withProgress = argc > 1 && std::strcmp(argv[1], "progress") == 0;
    InstallProgress progress;
    std::atomic<bool> done{false};
    std::atomic<int> shown{0};
    std::jthread reader;
    if (withProgress) {
        reader = std::jthread([&] {
            for (; !done; std::this_thread::sleep_for(std::chrono::milliseconds(33))) shown = progress.Done(651);
        });
    }
    const auto folder = std::filesystem::temp_directory_path() / "ketrova-install-bench";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    bool installed = true;
    try {
        InstallFromResource(L"Programa", folder.wstring() + L"\\", withProgress ? &progress : nullptr);
    } catch (const Exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        installed = false;
    }
    ::QueryPerformanceCounter(&end);
    done = true;
    std::filesystem::remove_all(folder, ignored);
    std::printf("%.1f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    return installed ? 0 : 1;
}
