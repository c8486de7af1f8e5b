#include "Uninstallation.h"

#include "DeletionGuard.h"
#include "clCreateShortcut.h"
#include "clUninstall.h"

#include <Handles.h>

#include <windows.h>

namespace {

bool IsLink(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Whether a folder between the install folder and the name has become a link:
// what lies behind it is somebody else's.
bool ReachedThroughLink(const std::wstring& folder, const std::wstring& name) {
    for (auto separator = name.find(L'\\'); separator != std::wstring::npos;
         separator = name.find(L'\\', separator + 1)) {
        if (IsLink(::GetFileAttributesW((folder + name.substr(0, separator)).c_str()))) return true;
    }
    return false;
}

bool IsInside(const std::wstring& path, const std::wstring& folder) {
    const std::wstring key = FolderKey(folder);
    return !key.empty() && FolderKey(path).starts_with(key + L'\\');
}

bool IsShortcutFolder(const std::wstring& folder) {
    for (const bool allUsers : {false, true}) {
        for (const ShortcutKind kind : {skDesktop, skStartMenu}) {
            if (FolderKey(ShortcutFolder(allUsers, kind)) == FolderKey(folder)) return true;
        }
    }
    return false;
}

// The payload may carry read-only files, which the system refuses to delete;
// a link's own attribute is left alone.
bool IsReadOnlyFile(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_READONLY) != 0 && !IsLink(attributes); }

bool SetAttributes(HANDLE file, DWORD attributes) {
    FILE_BASIC_INFO basic{};
    // 0 would mean "unchanged".
    basic.FileAttributes = attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != 0;
}

bool MarkForDeletion(HANDLE file, bool remove) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

void ListFiles(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& files) {
    WIN32_FIND_DATAW found;
    const win::UniqueFind find(::FindFirstFileW((folder + prefix + L"*").c_str(), &found));
    if (!find) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const bool enter = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsLink(found.dwFileAttributes);
        if (enter) ListFiles(folder, prefix + name + L"\\", files);
        else files.push_back(prefix + name);
    } while (::FindNextFileW(find.get(), &found));
}

}  // namespace

void RemoveRecordedShortcuts(const InstallRecord& record, const std::wstring& folder) {
    for (const std::wstring& link : record.shortcuts) {
        const auto separator = link.rfind(L'\\');
        if (separator == std::wstring::npos || !IsShortcutFolder(link.substr(0, separator))) continue;
        if (IsInside(LinkTarget(link), folder)) ::DeleteFileW(link.c_str());
    }
}

RecordedFiles::RecordedFiles(const InstallRecord& record, const std::wstring& folder)
    : record_(record), folder_(folder) {
    for (const std::wstring& name : record.files) {
        const std::wstring path = folder + name;
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        const DWORD missing = attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_SUCCESS;
        if (missing == ERROR_FILE_NOT_FOUND || missing == ERROR_PATH_NOT_FOUND) continue;
        if (ReachedThroughLink(folder, name)) {
            refused_.push_back({name, ERROR_CANT_ACCESS_FILE});
            continue;
        }
        if (missing == ERROR_SUCCESS && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsLink(attributes)) {
            refused_.push_back({name, ERROR_DIRECTORY});
            continue;
        }
        // A link is opened, and later deleted, as itself.
        win::UniqueFile file(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, 0,
                                           nullptr, OPEN_EXISTING,
                                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!file) {
            refused_.push_back({name, ::GetLastError()});
            continue;
        }
        held_.push_back({std::move(file), attributes});
    }
}

RecordedFiles::~RecordedFiles() = default;

bool RecordedFiles::RemoveAll() {
    if (!refused_.empty()) return false;
    std::size_t marked = 0;
    for (; marked < held_.size(); ++marked) {
        const auto& [file, attributes] = held_[marked];
        if ((IsReadOnlyFile(attributes) && !SetAttributes(file.get(), attributes & ~FILE_ATTRIBUTE_READONLY)) ||
            !MarkForDeletion(file.get(), true)) {
            break;
        }
    }
    if (marked < held_.size()) {
        // All or nothing: those already marked are kept after all, as they were.
        for (std::size_t i = 0; i <= marked; ++i) {
            const auto& [file, attributes] = held_[i];
            if (i < marked) MarkForDeletion(file.get(), false);
            if (IsReadOnlyFile(attributes)) SetAttributes(file.get(), attributes);
        }
        return false;
    }
    // Closing deletes them.
    held_.clear();
    for (const std::wstring& name : record_.folders) {
        // One that still holds files stays, with them.
        if (!ReachedThroughLink(folder_, name)) ::RemoveDirectoryW((folder_ + name).c_str());
    }
    return true;
}

std::vector<std::wstring> FilesBelow(const std::wstring& folder, const std::vector<std::wstring>& exceptAtRoot) {
    std::vector<std::wstring> files;
    ListFiles(folder, L"", files);
    std::erase_if(files, [&](const std::wstring& name) {
        for (const auto& excepted : exceptAtRoot) {
            if (FolderKey(name) == FolderKey(excepted)) return true;
        }
        return false;
    });
    return files;
}

void RemoveEmptyInstallFolders(const InstallRecord& record, const std::wstring& folder) {
    if (IsGuardedFolder(folder)) return;
    if (!::RemoveDirectoryW(folder.c_str())) return;
    for (const std::wstring& parent : record.createdParents) {
        // Only the folder's own ancestors, whatever the record says.
        if (!IsInside(folder, parent) || IsGuardedFolder(parent) || !::RemoveDirectoryW(parent.c_str())) return;
    }
}
