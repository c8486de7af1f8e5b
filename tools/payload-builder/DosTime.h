// MS-DOS date and time of a file's modification, in local time as archivers
// on Windows store it.
#pragma once

#include <ctime>

#include "ZipRecords.h"

namespace builder {

// Seconds are rounded down to even; times outside 1980..2107 are clamped to
// the nearest representable one.
zip::DosDateTime toDosDateTime(const std::tm& local);
zip::DosDateTime toDosDateTime(std::time_t time);

}  // namespace builder
