#include "StartReport.h"

#include "FolderRules.h"
#include "LoadResText.h"
#include "ProductEntries.h"
#include "ProgramPath.h"
#include "clAdminFunctions.h"

#include <windows.h>

namespace {

const wchar_t* YesNo(bool value) { return value ? L"yes" : L"no"; }

std::wstring Edition() {
    if (IsEditionSwitchOn(LoadResText(kPluginParcialEntry))) return L"partial add-on";
    return IsEditionSwitchOn(LoadResText(kPluginFullEntry)) ? L"full add-on" : L"standard";
}

std::wstring UserName() {
    wchar_t name[257] = {};
    DWORD size = 257;
    return ::GetUserNameW(name, &size) ? name : L"(unknown)";
}

std::wstring Administrator() {
    try {
        return YesNo(IsUserAdmin());
    } catch (const Exception& error) {
        return L"(unknown: " + error.Message() + L")";
    }
}

}  // namespace

const wchar_t InstallerUsage[] =
    L"Uso: Instalador.exe [PASTA] [/quiet] [/norun] [/log[=ARQUIVO]] [/dir=PASTA]\n\n"
    L"PASTA ou /dir=PASTA: instala sem perguntas nessa pasta; sem pasta, na pasta proposta.\n"
    L"/quiet: nenhuma janela e nenhuma mensagem; o que diriam vai para o log.\n"
    L"/norun: não inicia o programa depois da instalação.\n"
    L"/log[=ARQUIVO]: escreve o log da instalação (sem arquivo, na pasta temporária).\n"
    L"/? ou /help: esta descrição.";

void LogStart(const Reporter& reporter, const Invocation& invocation, bool visible) {
    if (!reporter.Log().IsOpen()) return;
    reporter.Note(L"installer: " + ProgramPath() + L", version " + LoadResText(kVersionYearEntry) + L" r" +
                  LoadResText(kReleaseEntry) + L", " + Edition() + L" edition");
    reporter.Note(L"command line: " + std::wstring(::GetCommandLineW()));
    reporter.Note(std::wstring(L"understood: ") +
                  (invocation.folder.empty() ? L"the proposed folder" : L"folder " + invocation.folder) +
                  L", quiet " + YesNo(invocation.quiet) + L", norun " + YesNo(invocation.noRun) + L", log " +
                  reporter.Log().Path());
    reporter.Note(L"user: " + UserName() + L", administrator " + Administrator() + L", session visible " +
                  YesNo(visible));
}
