#include "DllSearch.h"

#include <windows.h>

void RestrictDllSearchToSystem() {
    ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    ::SetDllDirectoryW(L"");
    // System libraries load some DLLs on demand by bare name (uxtheme delay-loads
    // msimg32 to draw themed parts), and not every loader applies the default
    // directories to such loads: Wine takes a copy from the program's folder.
    // Loaded now from the system folder, they are found in memory instead, and
    // stay loaded for the life of the process, as imports would.
    ::LoadLibraryExW(L"msimg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}
