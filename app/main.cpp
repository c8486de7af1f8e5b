// The program's entry: the application, the main window, the message loop.
#include "ComApartment.h"
#include "CommandLine.h"
#include "DllSearch.h"
#include "ErrorReport.h"
#include "ExitCodes.h"
#include "MessageLoop.h"
#include "Unit2.h"
#include "clAdminFunctions.h"

#include <commctrl.h>

#include <memory>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearchToSystem();
    const ComApartment com;
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    std::unique_ptr<TForm2> form;
    try {
        form = std::make_unique<TForm2>(CommandLineArguments(::GetCommandLineW()), IsUserAdmin);
    } catch (...) {
        ShowCurrentError();
        return kExitNotStarted;
    }
    // An unattended run that has ended needs no window on the screen; one whose
    // creation failed stays open for the user, as does the interactive one.
    if (!form->QuitRequested()) ::ShowWindow(form->Handle(), SW_SHOW);
    return RunMessageLoop(form->Handle());
}
