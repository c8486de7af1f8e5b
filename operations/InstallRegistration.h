// A completed installation is told to the system: the uninstaller and the
// record of what was installed go into its folder, then its entry into the
// system's list of installed programs.
#pragma once

#include "InstallRecord.h"
#include "clInstallFromResource.h"

#include <string>
#include <vector>

struct InstallationFacts {
    std::wstring folder;  // with its final separator
    std::wstring productName, versionYear, release, exeName, publisher;
    bool allUsers = false;
    std::vector<std::wstring> proposedFolders;  // for administrators and for the others
    InstalledPayload payload;
    std::vector<std::wstring> shortcuts;
    std::vector<std::wstring> createdParents;
};

// The folders above folder that are not there yet, deepest first: what
// creating it will create besides itself.
std::vector<std::wstring> MissingParentFolders(const std::wstring& folder);

// Writes the uninstaller from the resource uninstallerResource, the record and
// the entry, and returns where the entry is. Throws EStepFailed, with none of
// the three left behind, when one fails.
std::wstring RegisterInstallation(const InstallationFacts& facts, const std::wstring& uninstallerResource);

// The record in the folder. Throws Exception when it is missing or unreadable.
InstallRecord ReadInstallRecordFile(const std::wstring& folder);
void WriteInstallRecordFile(const std::wstring& folder, const InstallRecord& record);
