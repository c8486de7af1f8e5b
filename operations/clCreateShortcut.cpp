#include "clCreateShortcut.h"

#include "FileSystem.h"
#include "Handles.h"
#include "LinkNames.h"
#include "LongPathRules.h"
#include "PlatformError.h"
#include "StepFailure.h"
#include "unitFolders.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace {

constexpr DWORD kInProcOrLocalServer = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(guid, text, 40);
    return text;
}

template <typename I>
win::ComPtr<I> Query(const win::ComPtr<IUnknown>& object, REFIID iid) {
    win::ComPtr<I> result;
    const HRESULT hr = object->QueryInterface(iid, result.putVoid());
    if (FAILED(hr)) throw EPlatformError(SystemMessage(static_cast<unsigned long>(hr)), static_cast<unsigned long>(hr));
    return result;
}

}  // namespace

void CreateShortcuts(const std::wstring& exeName, const std::wstring& folder, bool allUsers, bool startMenu,
                     bool desktop) {
    for (const auto& [kind, asked] : {std::pair{skStartMenu, startMenu}, std::pair{skDesktop, desktop}}) {
        if (!asked) continue;
        try {
            RenewShortcut(exeName, folder, kind, allUsers);
        } catch (...) {
            RethrowAsStepFailed(L"make the shortcut", ShortcutPath(exeName, kind, allUsers));
        }
    }
}

void RenewShortcut(const std::wstring& exeName, const std::wstring& folder, ShortcutKind kind, bool allUsers) {
    DeleteShortcut(exeName, kind, allUsers);
    if (allUsers) DeleteShortcut(exeName, kind, false);
    WriteShortcut(allUsers, folder + exeName, kind, exeName);
}

std::wstring ShortcutPath(const std::wstring& exeName, ShortcutKind kind, bool allUsers) {
    return ShortcutFolder(allUsers, kind) + L"\\" + LinkFileName(exeName);
}

void DeleteShortcut(const std::wstring& exeName, ShortcutKind kind, bool allUsers) {
    const std::wstring linkPath = ShortcutPath(exeName, kind, allUsers);
    // A link that cannot be deleted is simply written over, or stays.
    if (native::FileExists(linkPath)) ::DeleteFileW(linkPath.c_str());
}

bool ShortcutExists(const std::wstring& exeName, ShortcutKind kind, bool allUsers) {
    return native::FileExists(ShortcutPath(exeName, kind, allUsers));
}

void WriteShortcut(bool allUsers, const std::wstring& targetPath, ShortcutKind kind, const std::wstring& exeName) {
    CreateLink(ShortcutFolder(allUsers, kind), targetPath, exeName);
}

std::wstring ShortcutFolder(bool allUsers, ShortcutKind kind) {
    if (kind == skDesktop) return GetSpecialFolder(allUsers ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY);
    return GetSpecialFolder(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS);
}

void CreateLink(const std::wstring& linkFolder, const std::wstring& targetPath, const std::wstring& description) {
    win::ComPtr<IUnknown> object;
    const HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, kInProcOrLocalServer, IID_IUnknown,
                                          object.putVoid());
    if (FAILED(hr)) {
        throw EPlatformError(SystemMessage(static_cast<unsigned long>(hr)) + L", ClassID: " + GuidText(CLSID_ShellLink),
                             static_cast<unsigned long>(hr));
    }
    const auto link = Query<IShellLinkW>(object, IID_IShellLinkW);
    const auto file = Query<IPersistFile>(object, IID_IPersistFile);

    // The platform reports a refused field or save by its result only; the
    // link is then missing, which the installation tolerates.
    link->SetPath(targetPath.c_str());
    link->SetDescription(description.c_str());
    link->SetWorkingDirectory(std::wstring(FolderPart(targetPath)).c_str());
    const std::wstring linkPath = linkFolder + L"\\" + LinkFileName(targetPath);
    file->Save(linkPath.c_str(), FALSE);
}

std::wstring LinkTarget(const std::wstring& linkPath) {
    try {
        win::ComPtr<IUnknown> object;
        const HRESULT created =
            ::CoCreateInstance(CLSID_ShellLink, nullptr, kInProcOrLocalServer, IID_IUnknown, object.putVoid());
        if (FAILED(created)) return {};
        const auto file = Query<IPersistFile>(object, IID_IPersistFile);
        if (FAILED(file->Load(linkPath.c_str(), STGM_READ))) return {};
        const auto link = Query<IShellLinkW>(object, IID_IShellLinkW);
        wchar_t target[MAX_PATH] = {};
        // The stored path as it is: resolving could follow a moved target anywhere.
        if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return {};
        return target;
    } catch (const EPlatformError&) {
        return {};
    }
}
