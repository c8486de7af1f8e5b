// A running program cannot delete its own image on Windows: the uninstaller
// hands its last steps to a copy of itself in a private temporary folder,
// which waits for it to end.
#pragma once

#include <string>
#include <vector>

// The copy's switch, followed by the original's process handle and the folder.
constexpr wchar_t FinishSwitch[] = L"/finish";

// Starts the copy; false when it could not be made or started.
bool StartSelfRemoval(const std::wstring& folder);

// In the copy: waits for the original to end, then deletes it, the record and
// the folders left empty, and asks the system to delete the copy and its
// folder at the next restart.
void FinishSelfRemoval(const std::vector<std::wstring>& arguments);
