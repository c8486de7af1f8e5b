// Where each entry of an archive goes below a target folder, judged for the
// whole archive before anything is written.
#pragma once

#include "EntryBuffers.h"
#include "ZipDirectory.h"

#include <cstdint>
#include <string>
#include <vector>

struct TZipEntryPlan {
    std::wstring original;  // the entry's name, "\\" separators
    std::wstring name;      // confined; empty for the folder itself
    bool folder = false;
    bool link = false;
    std::wstring linkTarget;
    // The entry's local header, read once while judging, and where its data
    // start in the archive stream.
    TZipHeader local;
    std::int64_t dataAt = 0;
};

// Refuses, naming the first such entry in the archive's order, local headers
// that name another entry than their central one, nameless entries, methods
// the reader does not decode and encrypted entries, names that would leave the
// folder, entries whose data overlap, entries below or in place of a link (the
// archive's own or one already below path), and link targets that resolve
// outside. Link targets pass through the buffers.
std::vector<TZipEntryPlan> JudgeExtraction(const TZipDirectory& directory, const std::wstring& path,
                                           TEntryBuffers& buffers);
