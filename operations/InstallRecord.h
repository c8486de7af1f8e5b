// What one installation put on the machine, kept in its folder so that the
// uninstaller removes that and nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct InstallRecord {
    std::wstring keyName;      // of the uninstall entry
    bool allUsers = false;     // the machine's entry, else the user's
    std::wstring displayName;  // name, year and release
    std::wstring exeName;      // the product's executable, in the folder
    // Below the folder, "\\" separators: what the extraction wrote and the
    // folders it needed.
    std::vector<std::wstring> files;
    std::vector<std::wstring> folders;
    // Full paths: the shortcuts made, and the folders above the install
    // folder that the installation created, deepest first.
    std::vector<std::wstring> shortcuts;
    std::vector<std::wstring> createdParents;
};

// UTF-8, one "field=value" per line after a version line.
std::string FormatInstallRecord(const InstallRecord& record);

// Throws std::runtime_error for a text that is not a record, one that names no
// program, or one whose names below the folder could leave it (absolute, a
// drive, "..", ".").
InstallRecord ParseInstallRecord(std::string_view text);

// Whether a name stays below the folder: relative, no empty, "." or ".."
// component, no drive or stream colon.
bool IsConfinedName(std::wstring_view name);

// The files' folders and the folder entries, each once, deepest first.
std::vector<std::wstring> FoldersOf(const std::vector<std::wstring>& files, const std::vector<std::wstring>& folders);

// The uninstall entry's key name: the product's name and a hash of the folder's
// comparison form, so that one folder keeps one entry and two folders get two.
std::wstring UninstallKeyName(std::wstring_view productName, std::wstring_view folder);

// "Ketrova 2023 r1" and "2023.1".
std::wstring UninstallDisplayName(std::wstring_view name, std::wstring_view year, std::wstring_view release);
// The entry's name in the list of installed programs: the display name, and
// for an installation outside the proposed folders that folder too, so that
// the entries of several folders can be told apart:
// "Ketrova 2023 r1 (C:\Apps\Ketrova)".
std::wstring EntryDisplayName(std::wstring_view displayName, std::wstring_view folder,
                              const std::vector<std::wstring>& proposedFolders);
std::wstring UninstallDisplayVersion(std::wstring_view year, std::wstring_view release);

// Bytes in KiB, rounded up, as the entry's estimated size; at most 0xFFFFFFFF.
std::uint32_t EstimatedSizeKiB(std::uint64_t bytes);
