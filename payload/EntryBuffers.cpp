#include "EntryBuffers.h"

#include <libdeflate.h>

#include <algorithm>
#include <new>

namespace {

// Incompressible data grow a little when deflated; beyond this margin the
// stated size is not one that a whole decode should trust with memory.
constexpr std::size_t InputLimit = TEntryBuffers::WholeEntryLimit + TEntryBuffers::WholeEntryLimit / 16 + 1024;

}  // namespace

TEntryBuffers::TEntryBuffers() : chunk_(new std::uint8_t[std::max(ChunkSize, WholeEntryLimit)]) {}

void TEntryBuffers::FreeDecompressor::operator()(libdeflate_decompressor* decompressor) const noexcept {
    libdeflate_free_decompressor(decompressor);
}

bool TEntryBuffers::InflateWhole(TStream& in, std::uint64_t compressedSize, std::uint64_t size) {
    if (size > WholeEntryLimit || compressedSize > InputLimit) return false;
    if (!decompressor_) {
        decompressor_.reset(libdeflate_alloc_decompressor());
        if (!decompressor_) throw std::bad_alloc();
    }
    const auto length = static_cast<std::size_t>(compressedSize);
    if (inputSize_ < length) {
        // Left uninitialised: only the pages that data fill become resident.
        input_.reset(new std::uint8_t[length]);
        inputSize_ = length;
    }
    if (in.ReadFully(input_.get(), length) != length) return false;
    std::size_t produced = 0;
    const auto result = libdeflate_deflate_decompress(decompressor_.get(), input_.get(), length, chunk_.get(),
                                                      static_cast<std::size_t>(size), &produced);
    return result == LIBDEFLATE_SUCCESS && produced == size;
}
