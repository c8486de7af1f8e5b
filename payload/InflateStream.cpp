#include "InflateStream.h"

#include "ZipExceptions.h"

#include <Utf8.h>

#include <algorithm>
#include <limits>

namespace {

[[noreturn]] void Fail(const z_stream& z, int result) {
    const char* message = z.msg != nullptr ? z.msg : zError(result);
    throw EZDecompressionError(Utf8ToWide(message));
}

}  // namespace

TInflateStream::TInflateStream(TStream& source) : source_(source), input_(new Bytef[InputBufferSize]) {
    const int result = inflateInit2(&z_, -MAX_WBITS);
    if (result != Z_OK) Fail(z_, result);
}

TInflateStream::~TInflateStream() { inflateEnd(&z_); }

std::size_t TInflateStream::Read(void* buffer, std::size_t count) {
    z_.next_out = static_cast<Bytef*>(buffer);
    // uInt is 32 bits; the reader never asks for more than a chunk at once.
    z_.avail_out = static_cast<uInt>(std::min<std::size_t>(count, std::numeric_limits<uInt>::max()));
    while (z_.avail_out > 0 && !finished_) {
        if (z_.avail_in == 0 && !sourceEnded_) {
            z_.next_in = input_.get();
            z_.avail_in = static_cast<uInt>(source_.Read(input_.get(), InputBufferSize));
            sourceEnded_ = z_.avail_in == 0;
        }
        const int result = inflate(&z_, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            finished_ = true;
        } else if (result == Z_BUF_ERROR) {
            // No progress possible: the archive ended inside the entry's data.
            if (sourceEnded_) break;
        } else if (result != Z_OK) {
            Fail(z_, result);
        }
    }
    return static_cast<std::size_t>(z_.next_out - static_cast<Bytef*>(buffer));
}
