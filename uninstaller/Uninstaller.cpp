#include "Uninstaller.h"

#include "SelfRemoval.h"

#include <AsciiCase.h>
#include <CommandLine.h>
#include <EarlierInstallation.h>
#include <Exception.h>
#include <ExitCodes.h>
#include <Handles.h>
#include <InstallRegistration.h>
#include <PayloadName.h>
#include <ProgramPath.h>
#include <UninstallEntry.h>
#include <Uninstallation.h>
#include <clAdminFunctions.h>
#include <clCloseActiveInstance.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace {

constexpr std::size_t kNamesShown = 10;

std::wstring OwnFolder() {
    const std::wstring path = ProgramPath();
    return path.substr(0, path.rfind(L'\\') + 1);
}

bool HasSwitch(const std::vector<std::wstring>& arguments, const wchar_t* name) {
    return std::ranges::any_of(arguments, [&](const std::wstring& a) { return AsciiUpper(a) == AsciiUpper(name); });
}

std::wstring NameList(const std::vector<std::wstring>& names) {
    std::wstring text;
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i) text += L"\n" + names[i];
    if (names.size() > kNamesShown) text += L"\n(+" + std::to_wstring(names.size() - kNamesShown) + L")";
    return text;
}

class Dialogue {
public:
    Dialogue(bool quiet, std::wstring caption) : quiet_(quiet), caption_(std::move(caption)) {}
    // Quiet, every question is answered Yes.
    bool Ask(const std::wstring& text) const {
        return quiet_ || Box(text, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    }
    void Tell(const std::wstring& text, UINT icon = MB_ICONINFORMATION) const {
        if (!quiet_) Box(text, MB_OK | icon);
    }

private:
    int Box(const std::wstring& text, UINT flags) const {
        return ::MessageBoxW(nullptr, text.c_str(), caption_.c_str(), flags | MB_TASKMODAL | MB_SETFOREGROUND);
    }
    bool quiet_;
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
        return kExitStaleEntryRemoved;
    }
    if (!dialogue.Ask(L"Deseja remover o " + name + L" de " + folder + L"?")) return kExitUninstallCancelled;

    CloseRunningInstances(record.exeName);
    RemoveRecordedShortcuts(record, folder);
    RemoveInstallationLeftovers(folder);
    const std::vector<std::wstring> stayed = RemoveRecordedFiles(record, folder);
    if (!stayed.empty()) {
        dialogue.Tell(L"Não foi possível remover estes arquivos do " + name +
                          L" (talvez estejam em uso). Feche os programas que os usam e tente de novo:" +
                          NameList(stayed),
                      MB_ICONWARNING);
        return kExitUninstallIncomplete;
    }
    DeleteUninstallEntry(record.allUsers, record.keyName);
    const std::vector<std::wstring> others = FilesBelow(folder, {UninstallerName, InstallRecordName});
    StartSelfRemoval(folder);
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
    const bool quiet = HasSwitch(arguments, QuietSwitch);
    const std::wstring folder = OwnFolder();
    InstallRecord record;
    try {
        record = ReadInstallRecordFile(folder);
    } catch (const Exception&) {
        Dialogue(quiet, L"Desinstalar").Tell(L"Esta pasta não tem o registro de uma instalação:\n" + folder,
                                             MB_ICONERROR);
        return kExitNoInstallRecord;
    }
    const Dialogue dialogue(quiet, L"Desinstalar " + record.displayName);
    if (record.allUsers && !IsUserAdmin()) return quiet ? kExitNeedsAdministrator : RunElevated(arguments);
    try {
        return Uninstall(record, folder, dialogue);
    } catch (const Exception& error) {
        dialogue.Tell(error.Message(), MB_ICONERROR);
        return kExitUninstallIncomplete;
    }
}
