// The text rules of the target folder and of the edition switches, kept apart
// from the window so that they run on any machine.
#pragma once

#include <string>
#include <string_view>

// An edition switch of the string table is on only for exactly "Sim".
bool IsEditionSwitchOn(std::wstring_view entry);

// The product's own sub-folder: "\" name "\v" year "r" release "\".
std::wstring MakeSpecificFolder(std::wstring_view name, std::wstring_view year, std::wstring_view release);

// The first "Roaming" (letter case as written) becomes "Local": the roaming
// application-data folder turned into the local one.
std::wstring RoamingToLocal(std::wstring path);

// The proposed target folder: under program files for all users, otherwise
// under the user's local application data.
std::wstring ProposedFolder(bool allUsers, std::wstring_view programFiles, std::wstring_view roamingAppData,
                            std::wstring_view specificFolder);
