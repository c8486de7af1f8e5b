// Whether a process list entry names the executable searched for.
#pragma once

#include <string_view>

// True when the entry's file-name part (after its last "\" or ":") or the whole
// entry equals the name, ignoring the case of ASCII letters only. No prefix,
// suffix or wildcard match.
bool MatchesExeName(std::wstring_view entryName, std::wstring_view name);
