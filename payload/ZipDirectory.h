// An archive's records as the reader finds them: the end records and the
// central directory, read once when the archive opens, and each entry's local
// header, read when the entry's data are wanted.
#pragma once

#include "Stream.h"
#include "ZipFormat.h"

#include <cstdint>
#include <string>
#include <vector>

class TZipDirectory {
public:
    // Reads the directory of the archive that the stream holds, also behind
    // bytes in front of it (a self-extractor's stub, an executable it was
    // appended to); the stream must outlive the directory.
    explicit TZipDirectory(TSeekableStream& stream);

    const std::vector<TZipHeader>& Entries() const { return entries_; }
    const std::vector<std::uint8_t>& Comment() const { return comment_; }
    TSeekableStream& Stream() const { return stream_; }

    // Where the entry's local header starts in the stream.
    std::int64_t LocalHeaderAt(std::size_t index) const;
    // The entry's local header; the stream then stands at the entry's first
    // byte of data.
    TZipHeader ReadLocalHeader(std::size_t index) const;

private:
    void Read();
    // Steps back from the end to the last end record and reads the comment;
    // the record's offset, or -1 when there is none.
    std::int64_t FindEndOfCentralDirectory(std::uint8_t (&record)[zip::EndOfCentralDirSize]);
    // The ZIP64 record's values and place when a locator stands before the
    // end record; else -1.
    std::int64_t ReadZip64End(std::int64_t endRecordAt, std::uint64_t& count, std::uint64_t& size,
                              std::uint64_t& offset);
    bool IsCentralHeaderAt(std::uint64_t position);

    TSeekableStream& stream_;
    // The length of the bytes in front of the archive, which every offset it
    // records leaves out.
    std::int64_t base_ = 0;
    std::vector<TZipHeader> entries_;
    std::vector<std::uint8_t> comment_;
};

// The entry's name from its central header: UTF-8 when flagged, else code page 437.
std::wstring CentralName(const TZipHeader& central);
