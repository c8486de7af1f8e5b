// Raw deflate data (no zlib or gzip wrapper) read forward from the archive
// stream's current position through a 64 KiB input buffer.
#pragma once

#include "Stream.h"

#include <zlib.h>

#include <memory>

class TInflateStream : public TStream {
public:
    static constexpr std::size_t InputBufferSize = 65536;

    // Fails with EZDecompressionError where zlib refuses the data.
    explicit TInflateStream(TStream& source);
    ~TInflateStream() override;

    // Inflates straight into the caller's buffer.
    std::size_t Read(void* buffer, std::size_t count) override;

private:
    TStream& source_;
    z_stream z_{};
    std::unique_ptr<Bytef[]> input_;
    bool finished_ = false;
    bool sourceEnded_ = false;
};
