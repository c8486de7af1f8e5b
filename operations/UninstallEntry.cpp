#include "UninstallEntry.h"

#include <Handles.h>
#include <PlatformError.h>

#include <windows.h>

#include <utility>

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr REGSAM kView = KEY_WOW64_32KEY;

HKEY Root(bool allUsers) { return allUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

void Check(LSTATUS status, const std::wstring& what) {
    if (status != ERROR_SUCCESS) {
        const auto code = static_cast<unsigned long>(status);
        throw EPlatformError(what + L": " + SystemMessage(code), code);
    }
}

void SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    Check(::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes), name);
}

void SetNumber(HKEY key, const wchar_t* name, DWORD value) {
    Check(::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value), name);
}

void WriteValues(HKEY key, const UninstallEntry& entry) {
    SetText(key, L"DisplayName", entry.displayName);
    SetText(key, L"DisplayVersion", entry.displayVersion);
    SetText(key, L"Publisher", entry.publisher);
    SetText(key, L"InstallLocation", entry.installLocation);
    SetText(key, L"DisplayIcon", entry.displayIcon);
    SetNumber(key, L"EstimatedSize", entry.estimatedSizeKiB);
    SetText(key, L"UninstallString", entry.uninstallString);
    SetText(key, L"QuietUninstallString", entry.quietUninstallString);
    SetNumber(key, L"NoModify", 1);
    SetNumber(key, L"NoRepair", 1);
}

}  // namespace

std::wstring UninstallEntryLocation(bool allUsers, const std::wstring& keyName) {
    return (allUsers ? L"HKEY_LOCAL_MACHINE\\" : L"HKEY_CURRENT_USER\\") + (kUninstallKey + keyName) +
           L" (32-bit view)";
}

void WriteUninstallEntry(bool allUsers, const UninstallEntry& entry) {
    const std::wstring path = kUninstallKey + entry.keyName;
    win::UniqueRegKey key;
    Check(::RegCreateKeyExW(Root(allUsers), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_SET_VALUE | kView, nullptr, key.put(), nullptr),
          path);
    try {
        WriteValues(key.get(), entry);
    } catch (...) {
        ::RegDeleteKeyExW(Root(allUsers), path.c_str(), kView, 0);
        throw;
    }
}

void DeleteUninstallEntry(bool allUsers, const std::wstring& keyName) {
    const std::wstring path = kUninstallKey + keyName;
    const LSTATUS status = ::RegDeleteKeyExW(Root(allUsers), path.c_str(), kView, 0);
    if (status != ERROR_FILE_NOT_FOUND) Check(status, path);
}
