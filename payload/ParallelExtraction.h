// A whole judged archive onto disk: folders and links first, in the archive's
// order, on the calling thread; then the files, largest first, on as many
// threads as there are processors (MaxWorkers at most) when each thread can
// read the archive through a stream of its own, else on the calling thread.
#pragma once

#include "EntryBuffers.h"
#include "EntryWriter.h"
#include "ExtractionPlan.h"
#include "ZipDirectory.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Extracting threads at most, however many processors there are.
constexpr unsigned MaxWorkers = 4;

// Another stream over the same archive, for one more thread.
using TStreamOpener = std::function<std::unique_ptr<TSeekableStream>()>;

// The calling thread reads through the plan's directory's stream and writes
// through buffers; without openStream it does it all. progress is called on
// the thread that writes the entry, so on several at once.
// Returns when every thread is done. After a failure no entry is started, and
// the error is that of the failed entry first in the archive.
void ExtractEntries(const TExtractionPlan& plan, const std::wstring& path, TEntryBuffers& buffers,
                    const TStreamOpener& openStream, const TEntryProgress& progress);
