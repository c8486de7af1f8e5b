// The stream of an entry's uncompressed data, for the two methods the reader
// decodes: stored and deflate, without encryption.
#pragma once

#include "Stream.h"
#include "ZipFormat.h"

#include <memory>
#include <string>

// Fails with an UnsupportedMethod error naming the entry for an encrypted
// entry (by either header's flags) or any other method.
void CheckSupported(const TZipHeader& central, const TZipHeader& local, const std::wstring& entry);

// Reads from the archive stream at the entry's first byte of data. A stored
// entry's length comes from the local header, or from the central one when the
// local header defers its sizes to a data descriptor.
std::unique_ptr<TStream> OpenEntryData(TSeekableStream& archive, const TZipHeader& central, const TZipHeader& local);
