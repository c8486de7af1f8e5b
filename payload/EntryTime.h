// The modification time an extracted file gets from its entry.
#pragma once

#include "FileSystem.h"
#include "ZipFormat.h"

#include <optional>

// The NTFS extra field's time (UTC, 100 ns), else the extended timestamp's
// (UTC, seconds), from the local header or else the central one; else the
// local header's MS-DOS time, on the local clock. Nothing when none is valid.
std::optional<native::FileTime> EntryTime(const TZipHeader& central, const TZipHeader& local);
