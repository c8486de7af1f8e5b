#include "Uninstaller.h"

#include "SelfRemoval.h"

#include <AsciiCase.h>
#include <CommandLine.h>
#include <EarlierInstallation.h>
#include <ErrorReport.h>
#include <Exception.h>
#include <ExitCodes.h>
#include <Handles.h>
#include <InstallRegistration.h>
#include <Messages.h>
#include <PlatformError.h>
#include <PayloadName.h>
#include <ProgramPath.h>
#include <Reporter.h>
#include <StepFailure.h>
#include <UninstallEntry.h>
#include <Uninstallation.h>
#include <WindowStation.h>
#include <clAdminFunctions.h>
#include <clCloseActiveInstance.h>

#include <windows.h>
#include <shellapi.h>

#include <optional>

namespace {

constexpr std::size_t kNamesShown = 10;

std::wstring OwnFolder() {
    const std::wstring path = ProgramPath();
    return path.substr(0, path.rfind(L'\\') + 1);
}

std::wstring NameList(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) text += L"\n" + names[i];
    if (names.size() > kNamesShown) text += L"\n(+" + std::to_wstring(names.size() - kNamesShown) + L")";
    return text;
}

// The uninstaller's questions and answers. Quiet, every question is answered
// Yes; in a session that nobody sees, without /quiet, No: it never removes
// without being told.
class Dialogue {
public:
    Dialogue(const Reporter& reporter, bool quietSwitch, std::wstring caption)
        : reporter_(reporter), quietSwitch_(quietSwitch), caption_(std::move(caption)) {}
    bool Ask(const std::wstring& text) const {
        if (reporter_.Quiet()) {
            reporter_.Note(L"question: " + text + (quietSwitch_ ? L" answered Yes (/quiet)"
                                                                 : L" answered No (nobody can see this session)"));
            return quietSwitch_;
        }
        const bool yes = Box(text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
        reporter_.Note(L"question: " + text + (yes ? L" answered Yes" : L" answered No"));
        return yes;
    }
    void Tell(const std::wstring& text, UINT icon = MB_ICONINFORMATION) const {
        reporter_.Tell(text, [&](const std::wstring& shown) { Box(shown, MB_OK | icon); });
    }
    const Reporter& Report() const { return reporter_; }

private:
    int Box(const std::wstring& text, UINT flags) const {
        return ::MessageBoxW(nullptr, text.c_str(), caption_.c_str(), flags | MB_TASKMODAL | MB_SETFOREGROUND);
    }
    const Reporter& reporter_;
    bool quietSwitch_;
    std::wstring caption_;
};

// The machine's entry is removed with administrator rights: asked of the
// system once, as the same program with the same arguments.
int RunElevated(const std::vector<std::wstring>& arguments) {
    const std::wstring self = ProgramPath();
    std::wstring parameters;
    for (const auto& argument : arguments) parameters += L"\"" + argument + L"\" ";
    SHELLEXECUTEINFOW execute{sizeof execute};
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    execute.lpVerb = L"runas";
    execute.lpFile = self.c_str();
    execute.lpParameters = parameters.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&execute) || !execute.hProcess) return kExitNeedsAdministrator;
    const win::UniqueHandle process(execute.hProcess);
    ::WaitForSingleObject(process.get(), INFINITE);
    DWORD code = kExitNeedsAdministrator;
    ::GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

int Uninstall(const InstallRecord& record, const std::wstring& folder, const Dialogue& dialogue) {
    const std::wstring& name = record.displayName;
    if (::GetFileAttributesW((folder + record.exeName).c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (!dialogue.Ask(L"A pasta " + folder + L" não contém mais o " + name +
                          L".\n\nRemover a entrada da lista de programas instalados?")) {
            return kExitUninstallCancelled;
        }
        DeleteUninstallEntry(record.allUsers, record.keyName);
        dialogue.Report().Note(L"stale uninstall entry removed: " +
                               UninstallEntryLocation(record.allUsers, record.keyName));
        return kExitStaleEntryRemoved;
    }
    if (!dialogue.Ask(L"Deseja remover o " + name + L" de " + folder + L"?")) return kExitUninstallCancelled;

    const Reporter& report = dialogue.Report();
    report.Note(L"running instances ended: " + DescribeInstancesEnded(CloseRunningInstances(record.exeName)));
    // What interrupted runs left is no part of the product: it goes first, so
    // that a rolled-back extraction's files are the recorded ones again.
    RemoveInstallationLeftovers(folder);
    // Nothing of the product goes unless everything can: a half-removed
    // product neither works nor leaves the list.
    RecordedFiles files(record, folder);
    if (!files.Refused().empty()) {
        std::vector<std::wstring> refused;
        for (const auto& [file, code] : files.Refused()) {
            report.Note(L"file cannot be removed: " + folder + file + L" (" + SystemMessage(code) + L", " +
                        std::to_wstring(code) + L")");
            refused.push_back(file);
        }
        report.Note(L"nothing removed");
        dialogue.Tell(L"Nada foi removido: não é possível remover estes arquivos do " + name +
                          L" (talvez estejam em uso). Feche os programas que os usam e tente de novo:" +
                          NameList(refused),
                      MB_ICONWARNING);
        return kExitUninstallIncomplete;
    }
    const std::size_t held = files.HeldCount();
    if (!files.RemoveAll()) {
        report.Note(L"nothing removed: the system refused to delete an installed file");
        dialogue.Tell(L"Nada foi removido: o sistema recusou a remoção dos arquivos do " + name + L".",
                      MB_ICONWARNING);
        return kExitUninstallIncomplete;
    }
    report.Note(L"files removed: " + std::to_wstring(held) + L" of " + std::to_wstring(record.files.size()));
    RemoveRecordedShortcuts(record, folder);
    for (const auto& link : record.shortcuts) {
        report.Note((::GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES ? L"shortcut removed: "
                                                                                   : L"shortcut kept: ") +
                    link);
    }
    DeleteUninstallEntry(record.allUsers, record.keyName);
    report.Note(L"uninstall entry removed: " + UninstallEntryLocation(record.allUsers, record.keyName));
    const std::vector<std::wstring> others = FilesBelow(folder, {UninstallerName, InstallRecordName});
    for (const auto& name : others) report.Note(L"not installed by it, stayed: " + folder + name);
    if (!StartSelfRemoval(folder)) report.Note(L"the uninstaller and its record stay: its copy could not start");
    std::wstring done = L"O " + name + L" foi removido.";
    if (!others.empty()) {
        done += L"\n\nEstes arquivos não foram instalados por ele e ficaram em " + folder + L":" + NameList(others);
    }
    dialogue.Tell(done);
    return kExitCompleted;
}

}  // namespace

int RunUninstaller(const std::vector<std::wstring>& arguments) {
    if (!arguments.empty() && AsciiUpper(arguments[0]) == AsciiUpper(FinishSwitch)) {
        FinishSelfRemoval(arguments);
        return kExitCompleted;
    }
    const Invocation invocation = ReadUninstallerCommandLine(arguments);
    const bool visible = IsWindowStationVisible();
    const std::optional<Reporter> started = ReporterFor(invocation, visible);
    if (!started) return kExitLogFailed;
    const Reporter& reporter = *started;
    // Nor does the system ask anything of a quiet run (a drive without its disk).
    if (reporter.Quiet()) ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const std::wstring folder = OwnFolder();
    reporter.Note(L"uninstaller: " + ProgramPath());
    reporter.Note(L"command line: " + std::wstring(::GetCommandLineW()));
    reporter.Note(std::wstring(L"session visible: ") + (visible ? L"yes" : L"no"));
    if (invocation.road == Invocation::Road::Refused) {
        reporter.Note(L"command line refused, nothing changed: " + invocation.refusal);
        return reporter.Finish(kExitBadCommandLine);
    }
    if (invocation.road == Invocation::Road::Usage) {
        Dialogue(reporter, invocation.quiet, L"Desinstalar").Tell(L"Uso: Desinstalar.exe [/quiet] [/log[=ARQUIVO]]");
        return reporter.Finish(kExitCompleted);
    }
    InstallRecord record;
    try {
        record = ReadInstallRecordFile(folder);
    } catch (const Exception& error) {
        reporter.Note(L"error: " + error.Message());
        Dialogue(reporter, invocation.quiet, L"Desinstalar")
            .Tell(L"Esta pasta não tem o registro de uma instalação:\n" + folder, MB_ICONERROR);
        return reporter.Finish(kExitNoInstallRecord);
    }
    const Dialogue dialogue(reporter, invocation.quiet, L"Desinstalar " + record.displayName);
    if (record.allUsers && !IsUserAdmin()) {
        if (reporter.Quiet()) return reporter.Finish(kExitNeedsAdministrator);
        return reporter.Finish(RunElevated(arguments));
    }
    try {
        return reporter.Finish(Uninstall(record, folder, dialogue));
    } catch (...) {
        reporter.Note(L"error: " + DescribeFailure(CurrentFailure(L"remove the installation", folder)));
        dialogue.Tell(CurrentErrorText(), MB_ICONERROR);
        return reporter.Finish(kExitUninstallIncomplete);
    }
}
