#include "clUninstall.h"

#include "DeletionGuard.h"
#include "FileSystem.h"
#include "unitFolders.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <array>
#include <vector>

namespace {

// The shell's own folders, and those a user keeps documents in.
constexpr std::array kShellFolders = {
    CSIDL_PROGRAMS,        CSIDL_PERSONAL,         CSIDL_FAVORITES,          CSIDL_STARTUP,
    CSIDL_RECENT,          CSIDL_STARTMENU,        CSIDL_MYMUSIC,            CSIDL_MYVIDEO,
    CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,           CSIDL_COMMON_STARTMENU,   CSIDL_COMMON_PROGRAMS,
    CSIDL_COMMON_STARTUP,  CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_APPDATA,     CSIDL_LOCAL_APPDATA,
    CSIDL_COMMON_APPDATA,  CSIDL_WINDOWS,          CSIDL_SYSTEM,             CSIDL_PROGRAM_FILES,
    CSIDL_MYPICTURES,      CSIDL_PROFILE,          CSIDL_SYSTEMX86,          CSIDL_PROGRAM_FILESX86,
    CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86, CSIDL_COMMON_DOCUMENTS,
};

// The full path with "." and ".." resolved, then in its stored long names, so
// that no spelling of a folder slips past the comparison.
std::wstring NormalisedPath(const std::wstring& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return GetLongPath(path);
    std::wstring full(size, L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), size, full.data(), nullptr));
    return GetLongPath(full);
}

}  // namespace

void DeleteFolder(const std::wstring& folder) {
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    std::wstring source = folder;
    source.append(2, L'\0');  // a list of one path, ended by an empty one
    operation.pFrom = source.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    // Whatever cannot be deleted stays; the installation extracts over it.
    ::SHFileOperationW(&operation);
}

bool IsGuardedFolder(const std::wstring& folder) {
    std::vector<std::wstring> shellFolders;
    for (const int csidl : kShellFolders) shellFolders.push_back(NormalisedPath(GetSpecialFolder(csidl)));
    return IsProtectedFolder(NormalisedPath(folder), shellFolders);
}

bool MayDeleteInstallFolder(const std::wstring& folder, const std::wstring& exeName) {
    if (folder.empty()) return false;
    const std::wstring separator = folder.ends_with(L'\\') || folder.ends_with(L'/') ? L"" : L"\\";
    return native::FileExists(folder + separator + exeName) && !IsGuardedFolder(folder);
}
