#include "SelfRemoval.h"

#include <Handles.h>
#include <InstallRegistration.h>
#include <PayloadName.h>
#include <ProgramPath.h>
#include <Uninstallation.h>

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <string>

namespace {

constexpr DWORD kOriginalEndWait = 60000;

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

// A folder of its own, made new, so that nothing planted beside the copy can
// be loaded by it (it also restricts its DLL search first thing).
std::wstring NewPrivateFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    if (::GetTempPathW(MAX_PATH + 1, temp) == 0) return {};
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::wstring folder = std::wstring(temp) + L"Desinstalar-" + std::to_wstring(::GetCurrentProcessId()) +
                                    L"-" + std::to_wstring(::GetTickCount() + attempt);
        if (::CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

// Windows may still hold an ended program's image for a moment.
void DeleteSoon(const std::wstring& path) {
    for (int attempt = 0; attempt < 50 && !::DeleteFileW(path.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND;
         ++attempt) {
        ::Sleep(100);
    }
}

}  // namespace

bool StartSelfRemoval(const std::wstring& folder) {
    const std::wstring privateFolder = NewPrivateFolder();
    if (privateFolder.empty()) return false;
    const std::wstring copy = privateFolder + L"\\" + UninstallerName;
    HANDLE self = nullptr;
    if (!::CopyFileW(ProgramPath().c_str(), copy.c_str(), TRUE) ||
        !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &self, SYNCHRONIZE,
                           TRUE, 0)) {
        ::DeleteFileW(copy.c_str());
        ::RemoveDirectoryW(privateFolder.c_str());
        return false;
    }
    const win::UniqueHandle inherited(self);
    std::wstring commandLine = L"\"" + copy + L"\" " + FinishSwitch + L" " +
                               std::to_wstring(reinterpret_cast<std::uintptr_t>(self)) + L" \"" + folder + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    // Started in the system folder: a current folder inside the installation would keep it.
    if (!::CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          SystemFolder().c_str(), &startup, &process)) {
        ::DeleteFileW(copy.c_str());
        ::RemoveDirectoryW(privateFolder.c_str());
        return false;
    }
    const win::UniqueProcessInformation started(process);
    return true;
}

void FinishSelfRemoval(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 3) return;
    const auto handleValue = static_cast<std::uintptr_t>(std::wcstoull(arguments[1].c_str(), nullptr, 10));
    const win::UniqueHandle original(reinterpret_cast<HANDLE>(handleValue));
    const std::wstring& folder = arguments[2];
    if (::WaitForSingleObject(original.get(), kOriginalEndWait) != WAIT_OBJECT_0) return;
    try {
        const InstallRecord record = ReadInstallRecordFile(folder);
        DeleteSoon(folder + UninstallerName);
        ::DeleteFileW((folder + InstallRecordName).c_str());
        RemoveEmptyInstallFolders(record, folder);
    } catch (...) {
        // Without its record the folder is not known to be ours: it stays.
    }
    // Documented for administrators; for anybody else the copy stays in the
    // user's temporary folder, which the system's clean-up empties.
    const std::wstring copy = ProgramPath();
    ::MoveFileExW(copy.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    ::MoveFileExW(copy.substr(0, copy.rfind(L'\\')).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}
