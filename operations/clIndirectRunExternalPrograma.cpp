#include "clIndirectRunExternalPrograma.h"

#include "IndirectLaunch.h"
#include "LinkNames.h"
#include "LongPathRules.h"
#include "clCreateShortcut.h"

#include <shellapi.h>

void RunIndirectWith(const std::wstring& exePath, HWND owner, ShellOpen open) {
    const std::wstring folder(FolderPart(exePath));
    CreateLink(folder, exePath, L"FirstRun");
    const std::wstring linkPath = folder + LinkFileName(exePath);
    // Not examined: when nothing starts, nothing is reported.
    open(owner, L"open", linkPath.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
    ::DeleteFileW(linkPath.c_str());
}

void RunIndirect(const std::wstring& exePath, HWND owner) {
    RunIndirectWith(exePath, owner, ::ShellExecuteW);
}
