// Puts the product's files on disk from the payload the installer carries.
#pragma once

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
// a file there. Throws EPlatformError, or Exception when there is no such resource.
void SaveResourceToFile(const std::wstring& resourceName, const std::wstring& filePath);

// Copies the RCDATA resource resourceName to folder + resourceName + ".zip",
// extracts that archive into folder and deletes it, whether the steps succeed
// or not. Any failure ends the steps, puts back the files the extraction
// replaced, removes those it created and shows the one installation-error
// message.
// Returns whether every step succeeded; then installed, when given, lists
// what the extraction wrote.
bool InstallFromResource(const std::wstring& resourceName, const std::wstring& folder,
                         InstalledPayload* installed = nullptr);
