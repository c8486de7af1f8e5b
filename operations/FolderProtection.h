// An installation for all users is run by every user of the machine and by its
// administrators. Outside the program files folders its folder would take its
// parent's permissions, under which (below a drive's root) any user may change
// the files that the others then run; it gets a protection of its own instead.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whether the folder is one of the program files folders or lies below one:
// those keep standard users out already.
bool IsBelowProgramFiles(const std::wstring& folder);

// For an all-users installation into the folder, before anything is written
// into it: unless it lies below the program files folders, the folder, the
// folders above it that it lacks and the earlier installation set aside beside
// it get a protected DACL, inheriting nothing from their parents: full control
// for Administrators and SYSTEM, read and execute for Users and whatever else
// the program files folder grants without a right to change anything; their
// owner becomes Administrators. Missing folders are made with it, so that no
// moment lets a user in. Whether it protected the folder; throws EStepFailed.
bool ProtectAllUsersFolder(const std::wstring& folder);

// The security descriptor that such folders get, self-relative.
std::vector<std::byte> ProtectedFolderDescriptor();
