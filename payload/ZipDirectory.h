// An archive's records as the reader finds them: the end records and the
// central directory, read and checked once when the archive opens and kept as
// the bytes they are (an entry's header is made from them when wanted, so that
// a directory of many entries costs little more than its own size), and each
// entry's local header, read when the entry's data are wanted.
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

    std::size_t Count() const { return at_.size(); }
    // The entry's central header.
    TZipHeader Entry(std::size_t index) const;
    const std::vector<std::uint8_t>& Comment() const { return comment_; }
    TSeekableStream& Stream() const { return stream_; }

    // Where the entry's local header starts in the stream.
    std::int64_t LocalHeaderAt(std::size_t index) const;
    // The entry's local header, read through stream (the directory's own, or
    // another over the same archive); the stream then stands at the entry's
    // first byte of data.
    TZipHeader ReadLocalHeader(std::size_t index, TSeekableStream& stream) const;
    TZipHeader ReadLocalHeader(std::size_t index) const { return ReadLocalHeader(index, stream_); }

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
    // Reads the central header at the stream's position onto the kept bytes.
    void ReadCentralHeader();

    TSeekableStream& stream_;
    // The length of the bytes in front of the archive, which every offset it
    // records leaves out.
    std::int64_t base_ = 0;
    // The central headers' bytes, and where each entry's header starts in them.
    std::vector<std::uint8_t> central_;
    std::vector<std::size_t> at_;
    std::vector<std::uint8_t> comment_;
};

// The entry's name from its central header: UTF-8 when flagged, else code page 437.
std::wstring CentralName(const TZipHeader& central);
