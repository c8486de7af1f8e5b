#include "EarlierInstallation.h"

#include "FileDeletion.h"
#include "InstallRegistration.h"
#include "ReplacementJournal.h"
#include "StepFailure.h"
#include "clUninstall.h"

#include <FileSystem.h>
#include <Handles.h>
#include <PlatformError.h>
#include <PayloadName.h>
#include <ZipPaths.h>

#include <windows.h>

namespace {

std::wstring WithoutSeparator(std::wstring folder) {
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

// Siblings of the folder: no user names a folder so, and the next run knows them.
std::wstring ReplacedPath(const std::wstring& folder) { return WithoutSeparator(folder) + L".Programa-remover"; }

bool Move(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

[[noreturn]] void FailSettingAside(const std::wstring& path, DWORD code) {
    throw EStepFailed({.step = L"set the earlier installation aside", .path = path, .systemCode = code,
                       .text = SystemMessage(code)});
}

// Throws unless every file below the folder can be opened for deletion with no
// sharing at all: Windows refuses to move a folder while any file in it is
// open, and this makes the rule explicit wherever the platform is laxer.
void RequireNoFileOpen(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) return;
        FailSettingAside(folder, code);
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        // A link is moved as itself; what it points at is not looked into.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            RequireNoFileOpen(path);
            continue;
        }
        const win::UniqueFile file(::CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file) FailSettingAside(path, ::GetLastError());
    } while (::FindNextFileW(find.get(), &found));
}

// What the earlier installation's record does not list is the user's: it
// moves into the folder first, and a folder that still holds some of it stays
// for the next run. One without a record (made before records existed) goes
// as a whole; one whose record cannot be read stays.
CarriedOver RemoveKeepingUsersFiles(const std::wstring& earlier, const std::wstring& folder) {
    CarriedOver carried;
    if (!native::DirectoryExists(earlier)) return carried;
    const std::wstring earlierFolder = earlier + L"\\";
    if (native::FileExists(earlierFolder + InstallRecordName)) {
        try {
            carried = MoveUsersFiles(earlierFolder, ReadInstallRecordFile(earlierFolder), folder);
        } catch (...) {
            carried.complete = false;
        }
    }
    if (carried.complete) DeleteFolder(earlier);
    return carried;
}

}  // namespace

std::wstring SetAsidePath(const std::wstring& folder) { return WithoutSeparator(folder) + L".Programa-anterior"; }

std::wstring SetAsideEarlierInstallation(const std::wstring& folder) {
    const std::wstring current = WithoutSeparator(folder);
    const std::wstring aside = SetAsidePath(folder);
    // An earlier one that a past run could not put back is never overwritten,
    // nor one replaced whose user's files could not all be moved yet: this
    // one could not be marked replaced beside it.
    if (native::DirectoryExists(aside)) FailSettingAside(aside, ERROR_ALREADY_EXISTS);
    if (native::DirectoryExists(ReplacedPath(folder))) FailSettingAside(ReplacedPath(folder), ERROR_ALREADY_EXISTS);
    RequireNoFileOpen(current);
    if (!Move(current, aside)) FailSettingAside(current, ::GetLastError());
    return aside;
}

void RestoreEarlierInstallation(const std::wstring& folder) {
    if (!native::DirectoryExists(SetAsidePath(folder))) return;
    const std::wstring current = WithoutSeparator(folder);
    if (native::DirectoryExists(current) && !IsGuardedFolder(current)) DeleteFolder(current);
    // If the new files could not all go, the earlier installation stays aside
    // and the next run puts it back.
    Move(SetAsidePath(folder), current);
}

void MarkEarlierInstallationReplaced(const std::wstring& folder) { Move(SetAsidePath(folder), ReplacedPath(folder)); }

CarriedOver RemoveReplacedInstallation(const std::wstring& folder) {
    return RemoveKeepingUsersFiles(ReplacedPath(folder), folder);
}

bool RecoverInterruptedInstallation(const std::wstring& folder, const std::wstring& exeName) {
    if (folder.empty()) return false;
    bool found = false;
    // Roots and shell folders are never set aside, so have no siblings of ours.
    if (!IsGuardedFolder(WithoutSeparator(folder))) {
        // Set aside and never marked replaced: the new installation is incomplete.
        if (native::FileExists(zip::Combine(SetAsidePath(folder), exeName))) {
            RestoreEarlierInstallation(folder);
            found = true;
        }
        found = native::DirectoryExists(ReplacedPath(folder)) || found;
        RemoveReplacedInstallation(folder);
    }
    found = native::FileExists(zip::Combine(folder, ReplacementJournalName)) || found;
    ReplacementJournal::Recover(folder);
    const std::wstring archive = zip::Combine(folder, PayloadArchiveName);
    found = native::FileExists(archive) || found;
    DeleteEmptiedFirst(archive);
    return found;
}

void RemoveInstallationLeftovers(const std::wstring& folder) {
    if (folder.empty()) return;
    if (!IsGuardedFolder(WithoutSeparator(folder))) {
        for (const std::wstring& sibling : {SetAsidePath(folder), ReplacedPath(folder)}) {
            RemoveKeepingUsersFiles(sibling, folder);
        }
    }
    ReplacementJournal::Recover(folder);
    DeleteEmptiedFirst(zip::Combine(folder, PayloadArchiveName));
}
