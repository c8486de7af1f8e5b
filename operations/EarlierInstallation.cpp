#include "EarlierInstallation.h"

#include "ReplacementJournal.h"
#include "clUninstall.h"

#include <FileSystem.h>
#include <Handles.h>
#include <PayloadName.h>
#include <ZipPaths.h>

#include <windows.h>

namespace {

std::wstring WithoutSeparator(std::wstring folder) {
    while (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

// Siblings of the folder: no user names a folder so, and the next run knows them.
std::wstring SetAsidePath(const std::wstring& folder) { return WithoutSeparator(folder) + L".Programa-anterior"; }
std::wstring ReplacedPath(const std::wstring& folder) { return WithoutSeparator(folder) + L".Programa-remover"; }

bool Move(const std::wstring& from, const std::wstring& to) {
    return ::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

// Whether every file below the folder can be opened for deletion with no
// sharing at all: Windows refuses to move a folder while any file in it is
// open, and this makes the rule explicit wherever the platform is laxer.
bool NoFileIsOpen(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const win::UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        // A link is moved as itself; what it points at is not looked into.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
            if (!NoFileIsOpen(path)) return false;
            continue;
        }
        const win::UniqueFile file(::CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                                 FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file) return false;
    } while (::FindNextFileW(find.get(), &found));
    return true;
}

}  // namespace

bool SetAsideEarlierInstallation(const std::wstring& folder) {
    const std::wstring current = WithoutSeparator(folder);
    // An earlier one that a past run could not put back is never overwritten.
    if (native::DirectoryExists(SetAsidePath(folder)) || !NoFileIsOpen(current)) return false;
    return Move(current, SetAsidePath(folder));
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

void RemoveReplacedInstallation(const std::wstring& folder) {
    if (native::DirectoryExists(ReplacedPath(folder))) DeleteFolder(ReplacedPath(folder));
}

void RecoverInterruptedInstallation(const std::wstring& folder, const std::wstring& exeName) {
    if (folder.empty()) return;
    // Roots and shell folders are never set aside, so have no siblings of ours.
    if (!IsGuardedFolder(WithoutSeparator(folder))) {
        // Set aside and never marked replaced: the new installation is incomplete.
        if (native::FileExists(zip::Combine(SetAsidePath(folder), exeName))) RestoreEarlierInstallation(folder);
        RemoveReplacedInstallation(folder);
    }
    ReplacementJournal::Recover(folder);
    ::DeleteFileW(zip::Combine(folder, PayloadArchiveName).c_str());
}

void RemoveInstallationLeftovers(const std::wstring& folder) {
    if (folder.empty()) return;
    if (!IsGuardedFolder(WithoutSeparator(folder))) {
        for (const std::wstring& sibling : {SetAsidePath(folder), ReplacedPath(folder)}) {
            if (native::DirectoryExists(sibling)) DeleteFolder(sibling);
        }
    }
    ReplacementJournal::Recover(folder);
    ::DeleteFileW(zip::Combine(folder, PayloadArchiveName).c_str());
}
