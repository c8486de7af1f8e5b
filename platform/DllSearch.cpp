#include "DllSearch.h"

#include <windows.h>

namespace {

// What system libraries load on demand, by bare name, on the installer's and
// the uninstaller's roads, as Wine's loader trace shows it
// (tests/e2e/test_planted_dlls.py measures it again on every run). Not every
// loader applies the default directories to such loads: Wine takes a copy
// from the program's folder. Loaded now from the system folder, with their own
// imports from there too, they are found in memory instead, and stay loaded
// for the life of the process, as imports would.
constexpr const wchar_t* kLoadedOnDemand[] = {
    // comctl32 and user32 draw the controls' themed parts with it.
    L"uxtheme.dll",
    // uxtheme delay-loads it for the alpha-blended parts.
    L"msimg32.dll",
    // The folder picker, the common item dialog, comes from its COM server; it
    // brings winspool.drv and compstui.dll with it.
    L"comdlg32.dll",
    // The folder picker's navigation pane.
    L"explorerframe.dll",
};

}  // namespace

void RestrictDllSearchToSystem() {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
    for (const wchar_t* name : kLoadedOnDemand) ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}
