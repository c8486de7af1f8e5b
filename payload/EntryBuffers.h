// What the extraction reuses for every entry it writes: the chunk that data
// pass through on their way to the file, and a whole-buffer decoder for
// deflated entries small enough to decode at once.
#pragma once

#include "Stream.h"

#include <cstddef>
#include <cstdint>
#include <memory>

struct libdeflate_decompressor;

class TEntryBuffers {
public:
    // Small enough to stay in the processor's cache between the decoder's
    // writes and the system's copy into the file: with 1 MiB pieces one 3 GiB
    // entry took 2.3 times bsdtar's time, with 64 KiB 0.8.
    static constexpr std::size_t ChunkSize = 64 << 10;
    // Deflated entries up to this size are decoded whole, which is more than
    // twice as fast as zlib's streaming; larger ones stream through the chunk.
    // Pages of the buffer that no entry needed are never touched.
    static constexpr std::size_t WholeEntryLimit = 2 << 20;

    TEntryBuffers();
    TEntryBuffers(const TEntryBuffers&) = delete;
    TEntryBuffers& operator=(const TEntryBuffers&) = delete;

    // ChunkSize bytes at least.
    std::uint8_t* Chunk() { return chunk_.get(); }

    // Decodes raw deflate data of compressedSize bytes, read from in, into the
    // chunk, which then holds exactly size bytes. False when the entry is too
    // large or its data do not decode to exactly size bytes: the caller then
    // streams it through zlib, whose reading and texts are the reference.
    bool InflateWhole(TStream& in, std::uint64_t compressedSize, std::uint64_t size);

private:
    std::unique_ptr<std::uint8_t[]> chunk_;
    std::unique_ptr<std::uint8_t[]> input_;
    std::size_t inputSize_ = 0;
    struct FreeDecompressor {
        void operator()(libdeflate_decompressor* decompressor) const noexcept;
    };
    // Made on the first whole decode.
    std::unique_ptr<libdeflate_decompressor, FreeDecompressor> decompressor_;
};
