// The product's entry in the system's list of installed programs.
//
// Always in the 32-bit registry view (KEY_WOW64_32KEY), the one a 32-bit
// program writes by default: on 64-bit Windows the machine's entry is under
// HKLM\SOFTWARE\WOW6432Node\Microsoft\Windows\CurrentVersion\Uninstall, which
// the system's list reads for 32-bit programs, and every build of these
// sources finds the entries of every other. The user's key is not redirected.
#pragma once

#include <cstdint>
#include <string>

struct UninstallEntry {
    std::wstring keyName;
    std::wstring displayName;
    std::wstring displayVersion;
    std::wstring publisher;
    std::wstring installLocation;
    std::wstring displayIcon;
    std::uint32_t estimatedSizeKiB = 0;
    std::wstring uninstallString;
    std::wstring quietUninstallString;
};

// The entry's key with its root and view, as the log names it.
std::wstring UninstallEntryLocation(bool allUsers, const std::wstring& keyName);

// Writes every value, replacing an entry of the same key. Throws
// EPlatformError, with no entry left behind, when a value cannot be written.
void WriteUninstallEntry(bool allUsers, const UninstallEntry& entry);

// Throws EPlatformError when an existing entry cannot be deleted.
void DeleteUninstallEntry(bool allUsers, const std::wstring& keyName);
