// The install sequence: the Install and Cancelar buttons and the unattended road.
#include "Unit2.h"

#include "EarlierInstallation.h"
#include "ExitCodes.h"
#include "InstallRegistration.h"
#include "InstallationError.h"
#include "LoadResText.h"
#include "PayloadName.h"
#include "ProductEntries.h"
#include "clCloseActiveInstance.h"
#include "clCreateShortcut.h"
#include "clIndirectRunExternalPrograma.h"
#include "clInstallFromResource.h"
#include "clUninstall.h"
#include "unitFolders.h"

#include <utility>
#include <vector>

namespace {

constexpr wchar_t kUninstallerResource[] = L"DESINSTALAR";

int ExitCode(TForm2::InstallOutcome outcome) {
    switch (outcome) {
    case TForm2::InstallOutcome::Completed: return kExitCompleted;
    case TForm2::InstallOutcome::PayloadFailed: return kExitPayloadFailed;
    case TForm2::InstallOutcome::ShortcutsFailed: return kExitShortcutsFailed;
    case TForm2::InstallOutcome::NotRegistered: return kExitNotRegistered;
    }
    return kExitPayloadFailed;
}

// Every step joins names to the folder's text, so it gets its final separator
// first: "C:\Apps\Ketrova" would otherwise put the archive and the shortcuts'
// target beside the folder. A relative folder or a bare drive is made absolute.
std::wstring WithFinalSeparator(const std::wstring& folder) {
    if (folder.ends_with(L'\\') || folder.ends_with(L'/')) return folder;
    const DWORD size = ::GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size != 0 ? ::GetFullPathNameW(folder.c_str(), size, full.data(), nullptr) : 0;
    // A text the platform cannot resolve is kept as written.
    full.resize(length < size ? length : 0);
    if (full.empty()) full = folder;
    return full.ends_with(L'\\') ? full : full + L'\\';
}

// A link that the platform refused to save is missing without a message; the
// exit code still says so.
bool RequestedShortcutsExist(const std::wstring& exeName, bool allUsers, bool startMenu, bool desktop) {
    return (!startMenu || ShortcutExists(exeName, skStartMenu, allUsers)) &&
           (!desktop || ShortcutExists(exeName, skDesktop, allUsers));
}

// The shortcuts of this installation that are on disk.
std::vector<std::wstring> ShortcutsMade(const std::wstring& exeName, bool allUsers, bool startMenu, bool desktop) {
    std::vector<std::wstring> made;
    for (const auto& [kind, asked] : {std::pair{skStartMenu, startMenu}, std::pair{skDesktop, desktop}}) {
        if (asked && ShortcutExists(exeName, kind, allUsers)) made.push_back(ShortcutPath(exeName, kind, allUsers));
    }
    return made;
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
    CloseRunningInstances(kInstanceExe);
    const std::wstring exeName = LoadResText(kProductExeEntry);
    RecoverInterruptedInstallation(folder, exeName);
    // Only an earlier installation is replaced as a whole; a folder with other
    // data is extracted over, so that nobody's files are lost. Either way a
    // failed extraction leaves what was there before.
    const bool upgrade = !IsPluginParcial && MayDeleteInstallFolder(folder, exeName);
    InstallationFacts facts{.folder = folder,
                            .productName = LoadResText(kProductNameEntry),
                            .versionYear = LoadResText(kVersionYearEntry),
                            .release = LoadResText(kReleaseEntry),
                            .exeName = exeName,
                            .publisher = LoadResText(kPublisherEntry),
                            .createdParents = MissingParentFolders(folder)};
    if (upgrade && !SetAsideEarlierInstallation(folder)) {
        ShowInstallationError();
        return InstallOutcome::PayloadFailed;
    }
    if (!InstallFromResource(PayloadResourceName, folder, &facts.payload)) {
        if (upgrade) RestoreEarlierInstallation(folder);
        return InstallOutcome::PayloadFailed;
    }
    if (upgrade) MarkEarlierInstallationReplaced(folder);
    if (IsPluginParcial) return InstallOutcome::Completed;
    const bool allUsers = ckAllUsers->Checked();
    const bool startMenu = ckLinkStartMenu->Checked();
    const bool desktop = ckLinkDesktop->Checked();
    const bool shortcutsMade = CreateShortcuts(exeName, folder, allUsers, startMenu, desktop) &&
                               RequestedShortcutsExist(exeName, allUsers, startMenu, desktop);
    if (upgrade) RemoveReplacedInstallation(folder);
    facts.allUsers = allUsers;
    facts.shortcuts = ShortcutsMade(exeName, allUsers, startMenu, desktop);
    const bool registered = RegisterInstallation(facts, kUninstallerResource);
    if (!shortcutsMade) return InstallOutcome::ShortcutsFailed;
    return registered ? InstallOutcome::Completed : InstallOutcome::NotRegistered;
}

void TForm2::Button1Click() {
    const std::wstring folder = WithFinalSeparator(PathText());
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
    RequestQuit(started_ ? kExitCompleted : kExitNotStarted);
}

void TForm2::RunUnattended(const std::wstring& argument) {
    const std::wstring folder = WithFinalSeparator(argument);
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
    // it ends with the exit code of what was done, or of a start that failed.
    if (sequenceRunning_ || quitRequested_) return;
    if (IsClickable(Button2)) {
        Button2Click();
    } else {
        RequestQuit(outcome_ ? ExitCode(*outcome_) : started_ ? kExitPayloadFailed : kExitNotStarted);
    }
}

void TForm2::RequestQuit(int exitCode) {
    quitRequested_ = true;
    ::PostQuitMessage(exitCode);
}
