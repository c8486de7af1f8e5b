// The install sequence: the Install and Cancelar buttons and the unattended road.
#include "Unit2.h"

#include "ComApartment.h"
#include "EarlierInstallation.h"
#include "ErrorReport.h"
#include "ExitCodes.h"
#include "FolderProtection.h"
#include "FreeSpace.h"
#include "InstallRegistration.h"
#include "InstallationError.h"
#include "InstallationLock.h"
#include "LoadResText.h"
#include "Messages.h"
#include "PayloadName.h"
#include "ProductEntries.h"
#include "StepFailure.h"
#include "clCloseActiveInstance.h"
#include "clCreateShortcut.h"
#include "clIndirectRunExternalPrograma.h"
#include "clInstallFromResource.h"
#include "clUninstall.h"
#include "unitFolders.h"

#include <chrono>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kUninstallerResource[] = L"DESINSTALAR";
constexpr wchar_t kOneDriveNotice[] = L"Não é possível utilizar pastas OneDrive durante a otimização";
constexpr wchar_t kBusyNotice[] =
    L"Outra instalação do Ketrova está em andamento. Tente de novo quando ela terminar.";
constexpr wchar_t kDiskFullNotice[] = L"Não há espaço livre suficiente para a instalação.";
constexpr wchar_t kCancelledNotice[] = L"Instalação cancelada.";

// Whether the product's files are in place: the product may be started.
bool ProductInstalled(int exitCode) {
    return exitCode == kExitCompleted || exitCode == kExitShortcutsFailed || exitCode == kExitNotRegistered;
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

struct ShortcutRequest {
    ShortcutKind kind;
    bool asked;
};

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

int TForm2::Fail(const FailureCause& cause) {
    const int exitCode = ExitCodeFor(cause);
    const wchar_t* box = exitCode == kExitInstallInProgress ? kBusyNotice
                         : exitCode == kExitDiskFull        ? kDiskFullNotice
                         : exitCode == kExitCancelled       ? kCancelledNotice
                                                            : InstallationErrorText;
    ShowBusyStatus(box);
    reporter_.Fail(cause, box, ShowPlainMessage);
    return exitCode;
}

int TForm2::RunInstallation(const std::wstring& folder) {
    EnterBusyState();
    // The disabled buttons too are on the screen before the work starts.
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    reporter_.Note(L"folder: " + folder);
    const std::wstring exeName = LoadResText(kProductExeEntry);
    InstallationFacts facts{.folder = folder,
                            .productName = LoadResText(kProductNameEntry),
                            .versionYear = LoadResText(kVersionYearEntry),
                            .release = LoadResText(kReleaseEntry),
                            .exeName = exeName,
                            .publisher = LoadResText(kPublisherEntry)};
    // Held until the installation is complete; nothing has changed when it or
    // the free space is missing.
    std::optional<InstallationLock> lock;
    bool upgrade = false;
    try {
        lock.emplace(facts.productName);
        if (const FreeSpace space = RequireFreeSpace(folder, PayloadResourceName, kUninstallerResource); space.known) {
            reporter_.Note(L"free space: " + std::to_wstring(space.free) + L" bytes, " +
                           std::to_wstring(space.needed) + L" needed");
        }
        reporter_.Note(L"running instances ended: " +
                       DescribeInstancesEnded(RunStep([] { return CloseRunningInstances(kInstanceExe); })));
        if (RunStep([&] { return RecoverInterruptedInstallation(folder, exeName); })) {
            reporter_.Note(L"an interrupted earlier run was put right");
        }
        // Only an earlier installation is replaced as a whole; a folder with
        // other data is extracted over, so that nobody's files are lost. Either
        // way a failed extraction leaves what was there before.
        upgrade = !IsPluginParcial && MayDeleteInstallFolder(folder, exeName);
        facts.createdParents = MissingParentFolders(folder);
        if (upgrade) {
            reporter_.Note(L"earlier installation set aside: " +
                           RunStep([&] { return SetAsideEarlierInstallation(folder); }));
        }
        if (ckAllUsers->Checked() && RunStep([&] { return ProtectAllUsersFolder(folder); })) {
            reporter_.Note(L"folder protected: " + folder);
        }
    } catch (...) {
        return Fail(CurrentFailure(L"prepare the installation", folder));
    }
    const auto extractionStart = std::chrono::steady_clock::now();
    try {
        facts.payload = InstallPayload(folder);
    } catch (...) {
        // The earlier installation is back before anybody is told.
        const FailureCause cause = CurrentFailure(L"install the payload", folder);
        if (upgrade) {
            RunStep([&] { RestoreEarlierInstallation(folder); });
            reporter_.Note(L"earlier installation restored");
        }
        return Fail(cause);
    }
    const auto extractionMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - extractionStart);
    reporter_.Note(L"payload: " + std::to_wstring(facts.payload.files.size()) + L" files, " +
                   std::to_wstring(facts.payload.bytes) + L" bytes, " + std::to_wstring(extractionMs.count()) +
                   L" ms");
    if (upgrade) MarkEarlierInstallationReplaced(folder);
    if (IsPluginParcial) return kExitCompleted;
    facts.allUsers = ckAllUsers->Checked();
    facts.proposedFolders = {ProposalFor(true), ProposalFor(false)};
    const ShortcutRequest requests[] = {{skStartMenu, ckLinkStartMenu->Checked()},
                                        {skDesktop, ckLinkDesktop->Checked()}};
    bool shortcutsMade = true;
    ShowBusyStatus(L"Criando atalhos…");
    try {
        RunStep([&] {
            // The shell's link objects need COM on the thread that makes them.
            const ComApartment com;
            CreateShortcuts(exeName, folder, facts.allUsers, requests[0].asked, requests[1].asked);
        });
    } catch (...) {
        Fail(CurrentFailure(L"make the shortcuts"));
        shortcutsMade = false;
    }
    // A link that the platform refused to save is missing without a message;
    // the log and the exit code still say so.
    for (const auto& [kind, asked] : requests) {
        if (!asked) continue;
        const std::wstring path = ShortcutPath(exeName, kind, facts.allUsers);
        const bool made = ShortcutExists(exeName, kind, facts.allUsers);
        reporter_.Note((made ? L"shortcut: " : L"shortcut missing: ") + path);
        if (made) facts.shortcuts.push_back(path);
        shortcutsMade = shortcutsMade && made;
    }
    if (upgrade) {
        const CarriedOver kept = RunStep([&] { return RemoveReplacedInstallation(folder); });
        reporter_.Note(L"user's files kept: " + std::to_wstring(kept.moved) + L" (" + std::to_wstring(kept.beside) +
                       L" beside a new file of the same name)");
        reporter_.Note(kept.complete ? L"earlier installation removed"
                                     : L"earlier installation kept for the next run: not all its user's files moved");
    }
    ShowBusyStatus(L"Registrando…");
    try {
        reporter_.Note(L"uninstall entry: " +
                       RunStep([&] { return RegisterInstallation(facts, kUninstallerResource); }));
    } catch (...) {
        reporter_.Note(L"error: " + DescribeFailure(CurrentFailure(L"register the installation", folder)));
        return shortcutsMade ? kExitNotRegistered : kExitShortcutsFailed;
    }
    return shortcutsMade ? kExitCompleted : kExitShortcutsFailed;
}

void TForm2::Button1Click() {
    const std::wstring folder = WithFinalSeparator(PathText());
    if (IsOneDriveFolder(folder)) {
        ShowPlainMessage(kOneDriveNotice);
        return;
    }
    // Said before anything changes; No leaves the window as it was.
    if (ProcessExists(kInstanceExe)) {
        const std::wstring question =
            L"O " + LoadResText(kProductNameEntry) + L" está em execução e será fechado. Continuar?";
        const bool yes = AskYesNo(question);
        reporter_.Note(L"question: " + question + (yes ? L" answered Yes" : L" answered No"));
        if (!yes) return;
    }
    const SequenceScope scope(sequenceRunning_);
    exitCode_ = RunInstallation(folder);
    const int exitCode = *exitCode_;
    // The error message has been shown: nothing more claims a product that is not there.
    if (ProductInstalled(exitCode)) {
        installationComplete_ = true;
        ShowBusyStatus(L"Instalação concluída!");
        ::MessageBoxW(nullptr, L"Instalação concluída!", L"Information", MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
        if (ckCloseAndRun->Checked()) RunIndirect(folder + LoadResText(kProductExeEntry), Handle());
    }
    RequestQuit(exitCode);
}

void TForm2::Button2Click() {
    // While the payload is written Cancelar asks whether to stop.
    if (sequenceRunning_) {
        AskToCancel();
        return;
    }
    ::ShowWindow(Handle(), SW_HIDE);
    RequestQuit(started_ ? kExitCompleted : kExitNotStarted);
}

void TForm2::RunUnattended() {
    // Without a folder of its own the run takes the one the window proposes.
    const std::wstring folder = WithFinalSeparator(invocation_.folder.empty() ? PathText() : invocation_.folder);
    const SequenceScope scope(sequenceRunning_);
    exitCode_ = RunInstallation(folder);
    if (ProductInstalled(*exitCode_)) StartProduct(folder);
    RequestQuit(*exitCode_);
}

void TForm2::StartProduct(const std::wstring& folder) {
    const std::wstring product = folder + LoadResText(kProductExeEntry);
    if (invocation_.noRun) {
        reporter_.Note(L"product not started (/norun): " + product);
        return;
    }
    try {
        RunIndirect(product, Handle());
        reporter_.Note(L"product started: " + product);
    } catch (...) {
        // The installation stands; only the start failed.
        reporter_.Fail(CurrentFailure(L"start the product", product), CurrentErrorText(), ShowErrorMessage);
    }
}

void TForm2::WMClose() {
    // Alt+F4 and the task bar's Close: Cancelar answers while it can be
    // pressed, also during the installation. A window that an error left
    // open, with Cancelar disabled (busy), would otherwise have no way out at
    // all; it ends with the exit code of what was done, or of a start that failed.
    if (quitRequested_) return;
    if (IsClickable(Button2)) {
        Button2Click();
    } else if (!sequenceRunning_) {
        RequestQuit(exitCode_ ? *exitCode_ : started_ ? kExitPayloadFailed : kExitNotStarted);
    }
}

void TForm2::RequestQuit(int exitCode) {
    quitRequested_ = true;
    ::PostQuitMessage(exitCode);
}
