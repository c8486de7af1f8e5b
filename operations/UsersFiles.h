// An upgrade replaces what the earlier installation wrote and nothing else:
// what its user, or the product itself, put into the folder (settings,
// documents, caches) moves into the new installation.
#pragma once

#include "InstallRecord.h"

#include <string>

struct CarriedOver {
    int moved = 0;   // files and folders, each folder as one
    int beside = 0;  // of them, kept beside a new file of the same name
    bool complete = true;
};

// Moves every file and folder below earlier (with its final separator) that
// the record does not list, nor the uninstaller and the record themselves,
// into the same place below folder, on the same volume. A folder that both
// have is entered; a name the new installation already uses takes
// KeptBesideName. Whatever cannot be moved stays in earlier and makes the
// result incomplete.
CarriedOver MoveUsersFiles(const std::wstring& earlier, const InstallRecord& record, const std::wstring& folder);
