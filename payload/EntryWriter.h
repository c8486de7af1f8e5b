// Puts judged entries on disk: folders and links on the spot, files through
// a stream and buffers that the caller owns, so that each thread has its own.
#pragma once

#include "EntryBuffers.h"
#include "ExtractionPlan.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

// Called after each chunk that a file entry writes, with the file's path, the
// entry's local header and the bytes written so far.
using TEntryProgress =
    std::function<void(const std::wstring& out, const TZipHeader& local, std::uint64_t position)>;

// Makes the entry's folders, or its link; the path of the file still to
// write, or nothing. Folders in made (folded) are known to be there.
std::optional<std::wstring> PrepareEntry(const TExtractionPlan& plan, std::size_t index, const std::wstring& path,
                                         bool createSubdirs, std::set<std::wstring>* made = nullptr);

// Writes a file entry read through stream (the directory's or another over
// the same archive), checks its CRC-32, then gives it the entry's times and
// attributes. Failures name the entry.
void WriteEntryFile(TSeekableStream& stream, TEntryBuffers& buffers, const TExtractionPlan& plan, std::size_t index,
                    const std::wstring& out, const TEntryProgress& progress);
