// Puts the product's files on disk from the payload the installer carries.
#pragma once

#include <string>

// Copies the RCDATA resource resourceName to folder + resourceName + ".zip",
// extracts that archive into folder and deletes it, whether the steps succeed
// or not. Any failure ends the steps, puts back the files the extraction
// replaced, removes those it created and shows the one installation-error
// message.
// Returns whether every step succeeded.
bool InstallFromResource(const std::wstring& resourceName, const std::wstring& folder);
