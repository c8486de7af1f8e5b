// Puts the product's files on disk from the payload the installer carries.
#pragma once

#include "InstallProgress.h"

#include <cstdint>
#include <string>
#include <vector>

// What an extraction wrote below the folder ("\\" separators).
struct InstalledPayload {
    std::vector<std::wstring> files;
    std::vector<std::wstring> folders;
    std::uint64_t bytes = 0;
};

// Writes the RCDATA resource resourceName of the program to filePath, replacing
// a file there. Throws EPlatformError with the system's code, or Exception
// when there is no such resource. With progress, each piece is counted and
// followed by its checkpoint.
void SaveResourceToFile(const std::wstring& resourceName, const std::wstring& filePath,
                        InstallProgress* progress = nullptr);

// Copies the RCDATA resource resourceName to folder + resourceName + ".zip",
// extracts that archive into folder and deletes it, whether the steps succeed
// or not. Any failure ends the steps, puts back the files the extraction
// replaced, removes those it created and throws EStepFailed with the step,
// the file and the system's or the reader's cause. Returns what the
// extraction wrote. With progress, the copy and the extraction count their
// bytes into it and pass its checkpoint between pieces, the last time before
// the replaced files go: a cancel until then rolls back as a failure does.
InstalledPayload InstallFromResource(const std::wstring& resourceName, const std::wstring& folder,
                                     InstallProgress* progress = nullptr);
