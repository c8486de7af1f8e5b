// An upgrade keeps the earlier installation beside its folder, under a name
// of its own, until the new one is complete; a run cut short finds it there.
#pragma once

#include "UsersFiles.h"

#include <string>

// Where the earlier installation of the folder is kept while the new one is made.
std::wstring SetAsidePath(const std::wstring& folder);

// Moves the folder aside, on its volume, and returns where. Throws
// EStepFailed, with nothing changed, when a file in it is open in another
// program (which Windows would refuse to move with the folder; the cause names
// the file) or the move fails.
std::wstring SetAsideEarlierInstallation(const std::wstring& folder);

// The extraction failed: what it wrote goes and the earlier installation is
// moved back.
void RestoreEarlierInstallation(const std::wstring& folder);

// The new installation is complete: the earlier one is renamed for removal,
// the record that the new one needs it no longer.
void MarkEarlierInstallationReplaced(const std::wstring& folder);

// Moves the user's files of the replaced installation into the folder (see
// MoveUsersFiles), then removes the rest; what cannot be moved or removed
// now stays for the next run.
CarriedOver RemoveReplacedInstallation(const std::wstring& folder);

// At the start of a run: restores an earlier installation whose replacement
// did not complete, removes one that was replaced, and rolls back or finishes
// an extraction over other files, so that the run starts from a clean folder.
// Whether there was anything to put right.
bool RecoverInterruptedInstallation(const std::wstring& folder, const std::wstring& exeName);

// Before the product is removed: what interrupted runs left beside and in the
// folder goes (a folder set aside or replaced, a journal, the payload's copy);
// the user's files in a folder beside move into the folder first.
void RemoveInstallationLeftovers(const std::wstring& folder);
