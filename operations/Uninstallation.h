// The uninstaller's steps on the machine: what one installation recorded
// goes, and nothing else. No step follows a link out of the folder.
#pragma once

#include "InstallRecord.h"

#include <string>
#include <vector>

// Deletes the recorded shortcuts that are still in a shortcut folder and still
// point into folder: another installation may have renewed a shared one.
void RemoveRecordedShortcuts(const InstallRecord& record, const std::wstring& folder);

// Deletes the recorded files, then the recorded folders left empty. A file
// reached through a link, or one that cannot be deleted, stays; the names of
// those that stay are returned.
std::vector<std::wstring> RemoveRecordedFiles(const InstallRecord& record, const std::wstring& folder);

// Names below folder of the files that are there, except the given names at
// its root; links are listed, not entered.
std::vector<std::wstring> FilesBelow(const std::wstring& folder, const std::vector<std::wstring>& exceptAtRoot);

// Removes the folder and then the recorded parents (its ancestors only) when
// they are empty and the deletion guard allows it.
void RemoveEmptyInstallFolders(const InstallRecord& record, const std::wstring& folder);
