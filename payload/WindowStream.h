// A read-only window of a fixed length onto another stream, starting at that
// stream's position when the window is made: the data of a stored entry.
#pragma once

#include "Stream.h"

class TWindowStream : public TStream {
public:
    TWindowStream(TSeekableStream& base, std::uint64_t length) : base_(base), remaining_(length) {}

    std::size_t Read(void* buffer, std::size_t count) override;

private:
    TSeekableStream& base_;
    std::uint64_t remaining_;
};
