// The uninstaller's entry.
#include "Uninstaller.h"

#include <ComApartment.h>
#include <CommandLine.h>
#include <DllSearch.h>
#include <ExitCodes.h>

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearchToSystem();
    const ComApartment com;
    try {
        return RunUninstaller(CommandLineArguments(::GetCommandLineW()));
    } catch (...) {
        return kExitUninstallIncomplete;
    }
}
