// Which folders the installer must never delete as a "previous installation":
// roots and the shell's own folders, compared as normalised long paths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The comparison form of a full path: letters folded as the payload's paths
// are (zip::FoldedPath), "/" read as "\", repeated separators as one (a leading
// "\\" stays), no trailing separator.
std::wstring FolderKey(std::wstring_view path);

// True for a drive or share root, for one of the shell folders, and for a
// folder that holds one of them. Empty shell folder entries are ignored.
bool IsProtectedFolder(std::wstring_view folder, const std::vector<std::wstring>& shellFolders);
