// The program's entry: the command line, the log, the application, the main
// window, the message loop.
#include "ComApartment.h"
#include "CommandLine.h"
#include "CommonControls.h"
#include "DllSearch.h"
#include "ErrorReport.h"
#include "ExitCodes.h"
#include "MessageLoop.h"
#include "Messages.h"
#include "Reporter.h"
#include "StartReport.h"
#include "Unit2.h"
#include "WindowStation.h"
#include "clAdminFunctions.h"

#include <memory>
#include <optional>

namespace {

using Road = Invocation::Road;

int RunWindow(const Invocation& invocation, const Reporter& reporter) {
    InitializeCommonControls();
    std::unique_ptr<TForm2> form;
    try {
        form = std::make_unique<TForm2>(invocation, IsUserAdmin, reporter);
    } catch (...) {
        reporter.Fail({.step = L"create the window", .text = CurrentErrorText()}, CurrentErrorText(),
                      ShowErrorMessage);
        return kExitNotStarted;
    }
    // An unattended run has ended by now, and needs no window on the screen.
    if (!form->QuitRequested()) ::ShowWindow(form->Handle(), SW_SHOW);
    return RunMessageLoop(form->Handle());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    RestrictDllSearchToSystem();
    const ComApartment com;
    Invocation invocation = ReadInstallerCommandLine(CommandLineArguments(::GetCommandLineW()));
    // A product started in a session that nobody sees would run unseen with
    // the deployment's rights.
    const bool visible = IsWindowStationVisible();
    invocation.noRun = invocation.noRun || !visible;
    const std::optional<Reporter> started = ReporterFor(invocation, visible);
    if (!started) return kExitLogFailed;
    const Reporter& reporter = *started;
    // Nor does the system ask anything of a quiet run (a drive without its disk).
    if (reporter.Quiet()) ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    LogStart(reporter, invocation, visible);
    switch (invocation.road) {
    case Road::Refused:
        reporter.Note(L"command line refused, nothing changed: " + invocation.refusal);
        return reporter.Finish(kExitBadCommandLine);
    case Road::Usage:
        reporter.Tell(InstallerUsage, ShowPlainMessage);
        return reporter.Finish(kExitCompleted);
    case Road::Interactive:
        if (!visible) {
            reporter.Note(L"no folder and no switch, and nobody can see this session: nothing to do");
            return reporter.Finish(kExitNotStarted);
        }
        break;
    case Road::Unattended:
        break;
    }
    return reporter.Finish(RunWindow(invocation, reporter));
}
