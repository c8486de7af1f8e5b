// The install sequence: the Install and Cancelar buttons and the unattended road.
#include "Unit2.h"

#include "LoadResText.h"
#include "clCloseActiveInstance.h"
#include "clCreateShortcut.h"
#include "clIndirectRunExternalPrograma.h"
#include "clInstallFromResource.h"
#include "clUninstall.h"
#include "unitFolders.h"

namespace {

// The running instances are found by this fixed name, not by string-table entry 8.
constexpr wchar_t kInstanceName[] = L"Ketrova.exe";
constexpr wchar_t kPayloadResource[] = L"Programa";
constexpr int kProductExeEntry = 8;

// Exit codes for deployment tools that run the unattended road.
int ExitCode(TForm2::InstallOutcome outcome) {
    switch (outcome) {
    case TForm2::InstallOutcome::Completed: return 0;
    case TForm2::InstallOutcome::PayloadFailed: return 1;
    case TForm2::InstallOutcome::ShortcutsFailed: return 2;
    }
    return 1;
}

// Marks the install sequence as running for the life of a handler, also when
// an error leaves it.
class SequenceScope {
public:
    explicit SequenceScope(bool& running) : running_(running) { running_ = true; }
    SequenceScope(const SequenceScope&) = delete;
    SequenceScope& operator=(const SequenceScope&) = delete;
    ~SequenceScope() { running_ = false; }

private:
    bool& running_;
};

}  // namespace

TForm2::InstallOutcome TForm2::RunInstallation(const std::wstring& folder) {
    EnterBusyState();
    // The disabled buttons too are on the screen before the work starts.
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    CloseRunningInstances(kInstanceName);
    const std::wstring exeName = LoadResText(kProductExeEntry);
    // Only an earlier installation is removed; a folder with other data is
    // extracted over, so that nobody's files are lost.
    if (!IsPluginParcial && MayDeleteInstallFolder(folder, exeName)) DeleteFolder(folder);
    if (!InstallFromResource(kPayloadResource, folder)) return InstallOutcome::PayloadFailed;
    if (IsPluginParcial) return InstallOutcome::Completed;
    const bool shortcutsMade =
        CreateShortcuts(exeName, folder, ckAllUsers->Checked(), ckLinkStartMenu->Checked(), ckLinkDesktop->Checked());
    return shortcutsMade ? InstallOutcome::Completed : InstallOutcome::ShortcutsFailed;
}

void TForm2::Button1Click() {
    const std::wstring folder = PathText();
    if (IsOneDriveFolder(folder, true)) return;
    const SequenceScope scope(sequenceRunning_);
    outcome_ = RunInstallation(folder);
    const InstallOutcome outcome = *outcome_;
    // The error message has been shown: nothing more claims a product that is not there.
    if (outcome != InstallOutcome::PayloadFailed) {
        ::MessageBoxW(nullptr, L"Instalação concluída!", L"Information", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
        if (ckCloseAndRun->Checked()) RunIndirect(folder + LoadResText(kProductExeEntry), Handle());
    }
    RequestQuit(ExitCode(outcome));
}

void TForm2::Button2Click() {
    ::ShowWindow(Handle(), SW_HIDE);
    RequestQuit(0);
}

void TForm2::RunUnattended(const std::wstring& folder) {
    const SequenceScope scope(sequenceRunning_);
    outcome_ = RunInstallation(folder);
    const InstallOutcome outcome = *outcome_;
    if (outcome != InstallOutcome::PayloadFailed) RunIndirect(folder + LoadResText(kProductExeEntry), Handle());
    RequestQuit(ExitCode(outcome));
}

void TForm2::WMClose() {
    // Alt+F4 and the task bar's Close: Cancelar answers while it can be
    // pressed. A window that an error left open, with Cancelar hidden (an
    // argument) or disabled (busy), would otherwise have no way out at all;
    // it ends with the exit code of what was done.
    if (sequenceRunning_ || quitRequested_) return;
    if (IsClickable(Button2)) {
        Button2Click();
    } else {
        RequestQuit(ExitCode(outcome_.value_or(InstallOutcome::PayloadFailed)));
    }
}

void TForm2::RequestQuit(int exitCode) {
    quitRequested_ = true;
    ::PostQuitMessage(exitCode);
}
