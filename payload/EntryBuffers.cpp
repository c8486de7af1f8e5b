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

TEntryBuffers::~TEntryBuffers() {
    if (decompressor_ != nullptr) libdeflate_free_decompressor(decompressor_);
}

bool TEntryBuffers::InflateWhole(TStream& in, std::uint64_t compressedSize, std::uint64_t size) {
    if (size > WholeEntryLimit || compressedSize > InputLimit) return false;
    if (decompressor_ == nullptr) {
        decompressor_ = libdeflate_alloc_decompressor();
        if (decompressor_ == nullptr) throw std::bad_alloc();
    }
    const auto length = static_cast<std::size_t>(compressedSize);
    if (inputSize_ < length) {
        // Left uninitialised: only the pages that data fill become resident.
        input_.reset(new std::uint8_t[length]);
        inputSize_ = length;
    }
    std::size_t got = 0;
    while (got < length) {
        const std::size_t n = in.Read(input_.get() + got, length - got);
        if (n == 0) return false;
        got += n;
    }
    std::size_t produced = 0;
    const auto result = libdeflate_deflate_decompress(decompressor_, input_.get(), length, chunk_.get(),
                                                      static_cast<std::size_t>(size), &produced);
    return result == LIBDEFLATE_SUCCESS && produced == size;
}
