// payload-install-bench: one unattended InstallFromResource of this
// executable's payload into a fresh folder; prints its milliseconds.
#include <Exception.h>
#include <clInstallFromResource.h>

#include <windows.h>

#include <cstdio>
#include <filesystem>

int main() {
    const auto folder = std::filesystem::temp_directory_path() / "ketrova-install-bench";
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    bool installed = true;
    try {
        InstallFromResource(L"Programa", folder.wstring() + L"\\");
    } catch (const Exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        installed = false;
    }
    ::QueryPerformanceCounter(&end);
    std::filesystem::remove_all(folder, ignored);
    std::printf("%.1f\n", 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    return installed ? 0 : 1;
}
