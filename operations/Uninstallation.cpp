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

bool DeleteRecordedFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ::GetLastError() == ERROR_FILE_NOT_FOUND ||
                                                      ::GetLastError() == ERROR_PATH_NOT_FOUND;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsLink(attributes)) return false;
    // The payload may carry read-only files; a link's own attribute is left alone.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0 && !IsLink(attributes)) {
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    }
    // A link to a folder is removed as a folder entry; its target stays.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? ::RemoveDirectoryW(path.c_str()) != 0
                                                        : ::DeleteFileW(path.c_str()) != 0;
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

std::vector<std::wstring> RemoveRecordedFiles(const InstallRecord& record, const std::wstring& folder) {
    std::vector<std::wstring> kept;
    for (const std::wstring& name : record.files) {
        if (ReachedThroughLink(folder, name) || !DeleteRecordedFile(folder + name)) kept.push_back(name);
    }
    for (const std::wstring& name : record.folders) {
        // One that still holds files stays, with them.
        if (!ReachedThroughLink(folder, name)) ::RemoveDirectoryW((folder + name).c_str());
    }
    return kept;
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
