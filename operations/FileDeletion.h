// Deleting a large file of the installer's own (the payload's copy) without
// stalling other programs.
#pragma once

#include <string>

// Deletes the file, freeing its space in pieces first. Wine's server, which
// every program of the session waits on, otherwise frees it in one call when
// it deletes the file: 180-370 ms for 800 MB, in which no window answers. A
// file that cannot be had alone gets the plain deletion; one that stays, stays.
void DeleteEmptiedFirst(const std::wstring& path);
