// Removing the previous installation folder.
#pragma once

#include <string>

// Deletes the folder and everything below it for good, without any window,
// question or error message; reports nothing.
void DeleteFolder(const std::wstring& folder);

// Whether the folder is a root or a shell folder, or holds one: never deleted.
bool IsGuardedFolder(const std::wstring& folder);

// Whether the folder may be deleted as the previous installation: it holds the
// product's executable and is no root and no shell folder (nor holds one).
bool MayDeleteInstallFolder(const std::wstring& folder, const std::wstring& exeName);
